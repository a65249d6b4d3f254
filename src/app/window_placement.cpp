// Where windows open: candidate spots around the windows to keep clear, the first one that
// fits on the screen.
#include "app/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdint>

#include "platform/gui/form.h"

namespace kestrin::app {

namespace {

constexpr int kGap = 8;
constexpr int kCascadeStep = 28;

bool fits(const QRect& r, const std::vector<QRect>& keep_clear, const QRect& screen) {
  if (!screen.contains(r)) return false;
  return std::none_of(keep_clear.begin(), keep_clear.end(), [&r](const QRect& k) { return k.intersects(r); });
}

// Beside, below, left of and above each rectangle, then the screen's corner.
std::vector<QPoint> candidates(QSize size, const std::vector<QRect>& keep_clear, const QRect& screen) {
  std::vector<QPoint> out;
  for (const QRect& k : keep_clear) {
    out.emplace_back(k.right() + 1 + kGap, k.top());
    out.emplace_back(k.left(), k.bottom() + 1 + kGap);
    out.emplace_back(k.left() - kGap - size.width(), k.top());
    out.emplace_back(k.left(), k.top() - kGap - size.height());
  }
  out.push_back(screen.topLeft());
  return out;
}

QPoint onto_screen(QPoint p, QSize size, const QRect& screen) {
  return {std::clamp(p.x(), screen.left(), std::max(screen.left(), screen.right() + 1 - size.width())),
          std::clamp(p.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()))};
}

}  // namespace

QPoint clear_spot(QSize size, const std::vector<QRect>& keep_clear, const QRect& screen, int cascade) {
  const std::vector<QPoint> spots = candidates(size, keep_clear, screen);
  for (int steps = std::max(cascade, 0); steps >= 0; --steps)
    for (const QPoint& p : spots) {
      const QPoint at = p + QPoint(steps, steps) * kCascadeStep;
      if (fits(QRect(at, size), keep_clear, screen)) return at;
    }
  // No spot is clear: the one on the screen that covers the least of the first rectangle,
  // then of the next, and so on.
  QPoint best;
  std::vector<int64_t> least;
  for (const QPoint& p : spots) {
    const QPoint at = onto_screen(p + QPoint(cascade, cascade) * kCascadeStep, size, screen);
    std::vector<int64_t> covered;
    for (const QRect& k : keep_clear) {
      const QRect both = k.intersected(QRect(at, size));
      covered.push_back(int64_t(both.width()) * both.height());
    }
    if (least.empty() || covered < least) least = covered, best = at;
  }
  return best;
}

QRect bounds_of(const kgui::TForm& form) { return {form.left(), form.top(), form.width(), form.height()}; }

QRect available_screen() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

void move_clear_of(kgui::TForm& form, const std::vector<const kgui::TForm*>& keep_clear) {
  std::vector<QRect> rects;
  for (const kgui::TForm* k : keep_clear) rects.push_back(bounds_of(*k));
  const QRect own = bounds_of(form);
  if (fits(own, rects, available_screen())) return;
  const QPoint at = clear_spot(own.size(), rects, available_screen());
  form.setLeft(at.x());
  form.setTop(at.y());
}

void place_windows(const std::vector<kgui::TForm*>& forms, kgui::TForm& image_window) {
  const QRect screen = available_screen();
  const kgui::TForm& main = *forms.front();
  const QRect main_rect = bounds_of(main);
  const QPoint image_at = clear_spot(bounds_of(image_window).size(), {main_rect}, screen);
  image_window.setLeft(image_at.x());
  image_window.setTop(image_at.y());
  const std::vector<QRect> keep_clear = {main_rect, bounds_of(image_window)};
  int cascade = 0;
  for (kgui::TForm* f : forms) {
    if (f == &main || f == &image_window) continue;
    const QPoint at = clear_spot(bounds_of(*f).size(), keep_clear, screen, cascade++);
    f->setLeft(at.x());
    f->setTop(at.y());
  }
}

}  // namespace kestrin::app
