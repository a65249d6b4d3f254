// Where windows open: clear of the windows they must not cover, and on the screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <vector>

namespace kgui {
class TForm;
}

namespace kestrin::app {

// The top-left corner for a window of `size` that lies on `screen` and covers none of
// `keep_clear`: beside, below, left of or above one of them, nudged `cascade` steps down and
// to the right when that still fits (so windows that share a spot do not pile up), else with
// fewer steps. When nothing fits, the spot on the screen that covers the least of the
// first rectangle, then of the next.
QPoint clear_spot(QSize size, const std::vector<QRect>& keep_clear, const QRect& screen, int cascade = 0);

// The form's bounds as a rectangle.
QRect bounds_of(const kgui::TForm& form);
// The screen the program's windows open on.
QRect available_screen();

// Moves `form` where it covers none of `keep_clear` (a form that covers none stays put).
void move_clear_of(kgui::TForm& form, const std::vector<const kgui::TForm*>& keep_clear);

// The first placement of the windows after the main window: the image window beside it,
// every other window in a cascade clear of both.
void place_windows(const std::vector<kgui::TForm*>& forms, kgui::TForm& image_window);

}  // namespace kestrin::app
