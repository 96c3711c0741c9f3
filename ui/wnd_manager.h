// The framework's top-level window: the resources every engine shares (the
// image pack, one clip list and one dirty list), the application context, a
// stack of up to five screens over one game, the routing of ticks and input
// to one input target, and the base window commands.
#pragma once

#include "platform/clip.h"
#include "platform/dirty_list.h"
#include "platform/engine.h"
#include "platform/image_pack.h"
#include "platform/types.h"
#include "platform/window.h"

class AppContext;
class IGame;
class IInterface;

// Window commands handled here; the game's window adds its own.
enum Command : u8 {
  kCmdNone = 0,
  kCmdNewGame = 1,
  kCmdStartDemo = 2,       // save the running game aside, start the demo
  kCmdGameInput = 3,       // the game becomes the input target
  kCmdApplySettings = 4,
  kCmdQuit = 5,
  kCmdConfirmNewGame = 8,  // asks, then starts a new game
  kCmdAskNewGame = 9,      // asks; the asking screen reads the answer
  kCmdAskClear = 10,       // asks; the asking screen reads the answer
  kCmdExit = 11,           // quits, asking first unless Autosave is on
};

// The buttons of an alert.
enum AlertButtons : u8 { kAlertOk = 0, kAlertOkCancel = 1, kAlertCancel = 2 };

constexpr int kSharedListCapacity = 3000;
constexpr int kScreenStackCapacity = 5;

class IWndManager : public OWindow {
 public:
  IWndManager() = default;
  ~IWndManager() override;

  // Builds the shared lists, the screen stack, the image pack of the
  // "640x480" directory and the context. The subclass creates the game.
  i32 OnCreate() override;
  // Pops a closed top screen, or else ticks the input target.
  void OnTimer(u16 ms) override;
  // Every input goes to the input target's slot of the same name.
  void OnMouseDown(i16 x, i16 y) override;
  void OnMouseAux(i16 x, i16 y) override;
  void OnMouseUp(i16 x, i16 y) override;
  void OnMouseMove(i16 x, i16 y) override;
  void OnKeyDown(u32 keysym) override;
  void OnKeyUp(u32 keysym) override;
  void OnChar(char c) override;

  // Window commands 0..11; 1 when the code is one of them (even without a
  // game), 0 otherwise.
  virtual u32 OnCommand(u8 code);
  // Shows an initialised screen above the others and gives it the input.
  // The window takes the screen over: a full stack destroys it.
  virtual void PushScreen(IInterface* screen);
  // Removes the top screen and delivers its result through OnCommand.
  virtual void PopScreen();

  // Asks the user with an alert; command is delivered when the user
  // confirms.
  void ShowAlert(const char* caption, const char* text, u8 buttons, i16 command);

  ImagePack* GetImagePack() const { return imagePack; }
  PointerList<OClip>* GetClipList() const { return clipList; }
  DirtyList* GetDirtyList() const { return dirtyList; }
  PointerList<IInterface>* GetScreenStack() const { return screenStack; }

  AppContext* context = nullptr;
  IGame* game = nullptr;            // owned; created by the subclass
  OEngine* inputTarget = nullptr;   // the top screen, or the game
  char playerName[300] = {};        // filled by the name entry
  u16 lastResume = 1;               // resume flag of the screen popped last

 protected:
  // The current language's text of an id (empty before OnCreate).
  const char* Text(i16 id) const;
  // Sends the whole window to the screen.
  void InvalidateAll() { UpdateRect(Rect(0, 0, width - 1, height - 1)); }

  ImagePack* imagePack = nullptr;
  PointerList<OClip>* clipList = nullptr;
  DirtyList* dirtyList = nullptr;
  PointerList<IInterface>* screenStack = nullptr;
};
