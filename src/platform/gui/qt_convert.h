// Conversions between the class library's values and Qt's: colours, fonts, text, keys.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <Qt>
#include <string>

#include "platform/classes/graphics.h"
#include "platform/classes/type_tables.h"

namespace kgui {

// The one conversion from a BGR TColor (system colours and clNone included) to Qt.
QColor toQColor(TColor c);
TColor fromQColor(const QColor& c);
QFont toQFont(const TFont& f);
inline QString qs(const std::string& s) { return QString::fromStdString(s); }
inline std::string ss(const QString& s) { return s.toStdString(); }

// Maps the platform's font names to installed fonts (Japanese names to IPA Gothic, the
// usual Windows faces to DejaVu); run once after the application object exists.
void installFontSubstitutions();

// Virtual-key code of a Qt key: letters 65-90, digits 48-57, Return and Enter 13 ...; 0 if none.
int virtualKey(int qt_key);
// The Qt key combination of a platform short-cut code (virtual key | scShift 0x2000 |
// scCtrl 0x4000 | scAlt 0x8000); 0 for none or a key Qt does not know.
int qtShortCut(int short_cut);
TShiftState shiftState(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons);

}  // namespace kgui
