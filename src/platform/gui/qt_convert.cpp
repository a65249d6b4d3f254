// Colour, font and key conversions to and from Qt.
#include "platform/gui/qt_convert.h"

#include <QFont>
#include <utility>

namespace kgui {

QColor toQColor(TColor c) {
  auto v = static_cast<uint32_t>(c);
  if (v == static_cast<uint32_t>(clNone)) return QColor(Qt::transparent);
  if (v == static_cast<uint32_t>(clDefault)) return QColor(0xF0, 0xF0, 0xF0);
  const TColor rgb = kestrin::ColorToRGB(c);
  return QColor(kestrin::color_red(rgb), kestrin::color_green(rgb), kestrin::color_blue(rgb));
}

TColor fromQColor(const QColor& c) {
  return kestrin::rgb_to_color(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                               static_cast<uint8_t>(c.blue()));
}

QFont toQFont(const TFont& f) {
  QFont q(qs(f.name()));
  q.setPixelSize(std::max(1, std::abs(f.height())));
  uint32_t st = f.style();
  q.setBold(st & (1u << fsBold));
  q.setItalic(st & (1u << fsItalic));
  q.setUnderline(st & (1u << fsUnderline));
  q.setStrikeOut(st & (1u << fsStrikeOut));
  return q;
}

void installFontSubstitutions() {
  const QStringList gothic{"IPAPGothic", "IPAGothic"};
  const QStringList mono_gothic{"IPAGothic"};
  const QStringList sans{"DejaVu Sans"};
  const QStringList serif{"DejaVu Serif"};
  const std::pair<const char*, const QStringList*> table[] = {
      {"ＭＳ Ｐゴシック", &gothic}, {"MS PGothic", &gothic},  {"ＭＳ ゴシック", &mono_gothic}, {"MS ゴシック", &mono_gothic},
      {"MS Gothic", &mono_gothic},  {"MS UI Gothic", &gothic}, {"Arial", &sans},
      {"Tahoma", &sans},            {"MS Sans Serif", &sans},  {"Microsoft Sans Serif", &sans},
      {"Verdana", &sans},           {"Times New Roman", &serif}};
  for (const auto& [name, subs] : table) QFont::insertSubstitutions(QString::fromUtf8(name), *subs);
}

int qtShortCut(int short_cut) {
  const int vk = short_cut & 0xFF;
  int key = 0;
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) key = vk;
  else if (vk >= 112 && vk < 112 + 24) key = Qt::Key_F1 + (vk - 112);
  static const int others[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Backspace, Qt::Key_Tab, Qt::Key_Space,
                               Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home, Qt::Key_Left,
                               Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_Insert, Qt::Key_Delete,
                               Qt::Key_Semicolon, Qt::Key_Plus, Qt::Key_Comma, Qt::Key_Minus, Qt::Key_Period,
                               Qt::Key_Slash, Qt::Key_QuoteLeft, Qt::Key_BracketLeft, Qt::Key_Backslash,
                               Qt::Key_BracketRight, Qt::Key_Apostrophe};
  for (int k : others)
    if (!key && vk != 0 && virtualKey(k) == vk) key = k;
  if (!key) return 0;
  if (short_cut & 0x2000) key |= Qt::SHIFT;
  if (short_cut & 0x4000) key |= Qt::CTRL;
  if (short_cut & 0x8000) key |= Qt::ALT;
  return key;
}

int virtualKey(int k) {
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return k;  // 65..90, whatever the shift state
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return k;
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
  switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Semicolon: return 0xBA;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return 0xBB;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    case Qt::Key_Slash: return 0xBF;
    case Qt::Key_QuoteLeft: return 0xC0;
    case Qt::Key_BracketLeft: return 0xDB;
    case Qt::Key_Backslash: return 0xDC;
    case Qt::Key_BracketRight: return 0xDD;
    case Qt::Key_Apostrophe: return 0xDE;
    default: return 0;
  }
}

TShiftState shiftState(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
  TShiftState s = 0;
  if (mods & Qt::ShiftModifier) s |= 1u << ssShift;
  if (mods & Qt::AltModifier) s |= 1u << ssAlt;
  if (mods & Qt::ControlModifier) s |= 1u << ssCtrl;
  if (buttons & Qt::LeftButton) s |= 1u << ssLeft;
  if (buttons & Qt::RightButton) s |= 1u << ssRight;
  if (buttons & Qt::MiddleButton) s |= 1u << ssMiddle;
  return s;
}

}  // namespace kgui
