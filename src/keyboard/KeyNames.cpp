// The key-name table. Codes the table does not name keep the empty text.
// The names of keys the built-in layouts show fit a key one unit wide.
#include "keyboard/KeyNames.h"

#include <utility>

namespace luma {
namespace {

std::array<std::u16string, 256> BuildVKNames() {
  std::array<std::u16string, 256> names{};
  const std::pair<int, const char16_t*> named[] = {
      {1, u"LeftButton"},
      {2, u"RightButton"},
      {3, u"Break"},
      {4, u"MiddleButton"},
      {5, u"XButton1"},
      {6, u"XButton2"},
      {8, u"Backsp"},
      {9, u"Tab"},
      {12, u"Clear"},
      {13, u"Enter"},
      {16, u"Shift"},
      {17, u"Ctrl"},
      {18, u"Alt"},
      {19, u"Pause"},
      {20, u"Caps"},
      {21, u"KANA"},
      {23, u"JUNJA"},
      {24, u"FINAL"},
      {25, u"HANJA"},
      {27, u"Esc"},
      {28, u"CONVERT"},
      {29, u"NONCONVERT"},
      {30, u"ACCEPT"},
      {31, u"MODECHANGE"},
      {32, u"Space"},
      {33, u"PgUp"},
      {34, u"PgDn"},
      {35, u"End"},
      {36, u"Home"},
      {37, u"Left"},
      {38, u"Up"},
      {39, u"Right"},
      {40, u"Down"},
      {41, u"SELECT"},
      {42, u"PRINT"},
      {43, u"EXECUTE"},
      {44, u"PrtSc"},
      {45, u"Ins"},
      {46, u"Del"},
      {47, u"HELP"},
      {91, u"Win"},
      {92, u"RWin"},
      {93, u"Menu"},
      {95, u"Sleep"},
      {106, u"Nm *"},
      {107, u"Nm +"},
      {108, u"Sepr."},
      {109, u"Nm -"},
      {110, u"Nm ."},
      {111, u"Nm /"},
      {144, u"NumLk"},
      {145, u"ScrLk"},
      {146, u"NEC_EQUAL"},
      {147, u"FJ_JISHO"},
      {148, u"FJ_MASSHOU"},
      {149, u"FJ_TOUROKU"},
      {150, u"FJ_LOYA"},
      {151, u"FJ_ROYA"},
      {160, u"Shift"},
      {161, u"Shift"},
      {162, u"Ctrl"},
      {163, u"Ctrl"},
      {164, u"Alt"},
      {165, u"AltGr"},
      {166, u"BROWSER_BACK"},
      {167, u"BROWSER_FORWARD"},
      {168, u"BROWSER_REFRESH"},
      {169, u"BROWSER_STOP"},
      {170, u"BROWSER_SEARCH"},
      {171, u"BROWSER_FAVORITES"},
      {172, u"BROWSER_HOME"},
      {173, u"VOLUME_MUTE"},
      {174, u"VOLUME_DOWN"},
      {175, u"VOLUME_UP"},
      {176, u"MEDIA_NEXT_TRACK"},
      {177, u"MEDIA_PREV_TRACK"},
      {178, u"MEDIA_STOP"},
      {179, u"MEDIA_PLAY_PAUSE"},
      {180, u"LAUNCH_MAIL"},
      {181, u"LAUNCH_MEDIA_SELECT"},
      {182, u"LAUNCH_APP1"},
      {183, u"LAUNCH_APP2"},
      {186, u":"},
      {187, u"+"},
      {188, u","},
      {189, u"-"},
      {190, u"."},
      {191, u"?"},
      {192, u"~"},
      {219, u"{"},
      {220, u"\\"},
      {221, u"}"},
      {222, u"\""},
      {223, u"8"},
      {226, u"\\"},
      {229, u"PROCESSKEY"},
      {231, u"PACKET"},
      {233, u"RESET"},
      {234, u"JUMP"},
      {235, u"PA1"},
      {236, u"PA2"},
      {237, u"PA3"},
      {238, u"WSCTRL"},
      {239, u"CUSEL"},
      {240, u"ATTN"},
      {241, u"FINNISH"},
      {242, u"COPY"},
      {243, u"AUTO"},
      {244, u"ENLW"},
      {245, u"BACKTAB"},
      {246, u"ATTN"},
      {247, u"CRSEL"},
      {248, u"EXSEL"},
      {249, u"EREOF"},
      {250, u"PLAY"},
      {251, u"ZOOM"},
      {252, u"NONAME"},
      {253, u"PA1"},
      {254, u"CLEAR"},
      {255, u"MEDIA_"},
  };
  for (const auto& [code, name] : named) names[static_cast<std::size_t>(code)] = name;

  // The runs: digits, capital letters, numeric pad digits, function keys.
  for (int i = 0; i <= 9; ++i)
    names[static_cast<std::size_t>(48 + i)] = std::u16string(1, static_cast<char16_t>(u'0' + i));
  for (int i = 0; i < 26; ++i)
    names[static_cast<std::size_t>(65 + i)] = std::u16string(1, static_cast<char16_t>(u'A' + i));
  for (int i = 0; i <= 9; ++i)
    names[static_cast<std::size_t>(96 + i)] =
        u"Nm " + std::u16string(1, static_cast<char16_t>(u'0' + i));
  for (int i = 1; i <= 24; ++i) {
    std::u16string f = u"F";
    if (i >= 10) f += static_cast<char16_t>(u'0' + i / 10);
    f += static_cast<char16_t>(u'0' + i % 10);
    names[static_cast<std::size_t>(111 + i)] = f;
  }
  return names;
}

}  // namespace

const std::array<std::u16string, 256> kKeyNames = BuildVKNames();

}  // namespace luma
