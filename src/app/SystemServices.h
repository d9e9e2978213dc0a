// The system services the portable core works through, lent to the main
// window and its parts: the system's own in the program, fakes in the tests
// of the window.
#pragma once

#include "platform/Integrity.h"
#include "platform/LearnedWordsStorage.h"
#include "platform/System.h"
#include "win32/Integrity.h"
#include "win32/LearnedWordsFile.h"
#include "win32/ProcessEnvironment.h"
#include "win32/Win32System.h"

namespace luma::app {

struct SystemServices {
  KeyboardLayouts& layouts;
  KeySender& sender;
  CursorSink& cursor;
  SystemColors& colors;
  IntegrityProbe& integrity;
  LearnedWordsStorage& learnedWords;
};

// The Win32 implementations, owned once by the main window that runs over them.
struct Win32Services {
  win32::Win32KeyboardLayouts layouts;
  win32::Win32KeySender sender;
  win32::Win32Cursor cursor;
  win32::Win32SystemColors colors;
  win32::Win32IntegrityProbe integrity;
  win32::LearnedWordsFile learnedWords{win32::ProgramFolder()};

  SystemServices Lend() { return {layouts, sender, cursor, colors, integrity, learnedWords}; }
};

}  // namespace luma::app
