// The built-in window icon in XPM form.
#pragma once

extern const char* const kWindowIconXpm[99];
