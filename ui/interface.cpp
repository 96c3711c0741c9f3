#include "ui/interface.h"

#include "platform/system.h"
#include "ui/wnd_manager.h"

IInterface* IInterface::Create(IWndManager* window, i16 capacity, i16 result) {
  IInterface* screen = new IInterface();
  CheckAlloc(screen);
  screen->Init(window, capacity, result);
  return screen;
}

void IInterface::Init(IWndManager* window, i16 capacity, i16 code) {
  (void)capacity;
  result = code;
  screenStack = window->GetScreenStack();
  OEngine::Init(window, window->GetImagePack(), window->GetClipList(), window->GetDirtyList());
}

i32 IInterface::OnInit() {
  resume = 1;
  return 1;
}
