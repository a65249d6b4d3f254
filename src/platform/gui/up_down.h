// TUpDown: a pair of arrow buttons stepping Position between Min and Max by Increment
// (with Wrap, past one end to the other), shown in an associated control's text.
#pragma once

#include <optional>

#include <functional>

#include "platform/gui/control.h"

class QToolButton;

namespace kgui {

enum TUDBtnType { btNext, btPrev };
enum TUpDownDirection { updNone, updUp, updDown };
const EnumInfo& udBtnType();
const EnumInfo& upDownDirectionType();

using TUDChangingEvent = std::function<void(TComponent* sender, bool& allow_change)>;
using TUDChangingExEvent =
    std::function<void(TComponent* sender, bool& allow_change, int new_value, int direction)>;
using TUDClickEvent = std::function<void(TComponent* sender, int button)>;  // TUDBtnType

class TUpDown : public TWinControl {
public:
  explicit TUpDown(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  int min() const { return min_; }
  void setMin(int v);
  int max() const { return max_; }
  void setMax(int v);
  int position() const { return position_; }
  void setPosition(int v);  // kept between Min and Max; shown in the associate
  int increment() const { return increment_; }
  void setIncrement(int v) { increment_ = v; }
  bool wrap() const { return wrap_; }
  void setWrap(bool w) { wrap_ = w; }
  // The control whose text shows Position; the up-down moves to its right edge.
  TWinControl* associate() const { return associate_; }
  void setAssociate(TWinControl* c);
  // The user's press of a button: asks OnChanging and OnChangingEx, then moves and runs OnClick.
  void press(int button);

  TUDChangingEvent OnChanging;
  TUDChangingExEvent OnChangingEx;
  // The published OnClick of an up-down: which button moved the position.
  TUDClickEvent OnButtonClick;

protected:
  void notification(TComponent* c, Operation op) override;
  bool handleEvent(QObject* target, QEvent* event) override;

private:
  void showPosition();
  QToolButton* up_;
  QToolButton* down_;
  TWinControl* associate_ = nullptr;
  int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
  bool wrap_ = false;

public:
  // Applies the value its setter kept while a form description was read.
  void loaded() override;

private:
  std::optional<int> pending_position_;
};

}  // namespace kgui
