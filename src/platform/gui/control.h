// Controls: a component that owns one Qt widget, placed in pixels in its parent's client
// area; windowed controls hold children and lay out the aligned and anchored ones.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/component.h"
#include "platform/classes/graphics.h"
#include "platform/classes/size_constraints.h"
#include "platform/classes/type_tables.h"

namespace kestrin::platform {
class WindowMessageTarget;
}

class QEvent;
class QHelpEvent;
class QObject;

namespace kgui {

class TWinControl;
class TBasicAction;
class TPopupMenu;

using TNotifyEvent = std::function<void(TComponent* sender)>;
using TMouseEvent =
    std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TComponent* sender, int& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TComponent* sender, char& key)>;
using TControlCanResizeEvent =
    std::function<void(TComponent* sender, int& new_width, int& new_height, bool& resize)>;
using TConstrainedResizeEvent = std::function<void(TComponent* sender, int& min_width, int& min_height,
                                                   int& max_width, int& max_height)>;
// mouse_pos: client pixels, (-1, -1) when the keyboard asked for the menu.
using TContextPopupEvent = std::function<void(TComponent* sender, TPoint mouse_pos, bool& handled)>;
// mouse_pos: screen pixels; wheel_delta: 120 per notch, positive away from the user.
using TMouseWheelEvent =
    std::function<void(TComponent* sender, TShiftState shift, int wheel_delta, TPoint mouse_pos, bool& handled)>;
using TMouseWheelUpDownEvent =
    std::function<void(TComponent* sender, TShiftState shift, TPoint mouse_pos, bool& handled)>;

// Dragging one control onto another: source the dragged control, x and y in the
// receiving control's client pixels, state a TDragState.
using TDragDropEvent = std::function<void(TComponent* sender, TComponent* source, int x, int y)>;
using TDragOverEvent =
    std::function<void(TComponent* sender, TComponent* source, int x, int y, int state, bool& accept)>;
// target: the control dropped on (nil: none; x and y are then screen pixels).
using TEndDragEvent = std::function<void(TComponent* sender, TComponent* target, int x, int y)>;

// The window messages that perform answers; every other message answers 0.
constexpr unsigned WM_SETTEXT = 0x0C;
constexpr unsigned WM_GETTEXT = 0x0D;
constexpr unsigned WM_GETTEXTLENGTH = 0x0E;
constexpr unsigned WM_CLOSE = 0x10;

class TControl : public TComponent {
public:
  ~TControl() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  QWidget* widget() const { return widget_; }
  // The widget's objectName follows Name, so tools and tests find widgets by it.
  void setName(const std::string& name) override;
  TWinControl* parent() const { return parent_; }
  void setParent(TWinControl* parent);
  bool hasParent() const override { return true; }
  // A control read from a form description goes into the enclosing windowed control.
  void setParentComponent(TComponent* parent) override;

  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void setLeft(int v) { setBounds(v, top_, width_, height_); }
  void setTop(int v) { setBounds(left_, v, width_, height_); }
  void setWidth(int v) { setBounds(left_, top_, v, height_); }
  void setHeight(int v) { setBounds(left_, top_, width_, v); }
  virtual void setBounds(int left, int top, int width, int height);
  TRect boundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  virtual int clientWidth() const { return width_; }
  virtual int clientHeight() const { return height_; }

  int align() const { return align_; }
  void setAlign(int align);
  uint32_t anchors() const { return anchors_; }
  void setAnchors(uint32_t anchors) { anchors_ = anchors; }

  // Visible is the control's own flag; showing() also needs every parent shown.
  bool visible() const { return visible_; }
  virtual void setVisible(bool visible);
  bool showing() const;
  void show() { setVisible(true); }
  void hide() { setVisible(false); }
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  TColor color() const { return color_; }
  void setColor(TColor color);
  TFont* font() const { return font_.get(); }
  std::string hint() const { return hint_; }
  void setHint(const std::string& hint);
  // The mouse cursor over the control, a TCursorShape number.
  int cursor() const { return cursor_; }
  void setCursor(int cursor);
  virtual std::string caption() const { return caption_; }
  virtual void setCaption(const std::string& caption);

  void invalidate();
  // Asks for a repaint of part of the control (x1..x2-1, y1..y2-1).
  void invalidateRect(const TRect& r);
  void repaint();
  void bringToFront();
  void sendToBack();

  // The control's window handle: a 32-bit number of the handle table, given on first use
  // (never the widget's winId()). From then on the window-message table delivers the
  // messages sent or posted to it to perform, until the control is freed.
  uint32_t handle() const;
  // The text that WM_GETTEXT and WM_SETTEXT reach: Text where the class has it, else Caption.
  std::string windowText() const;
  void setWindowText(const std::string& text);
  // The text messages (UTF-8; WM_SETTEXT: lparam points to a NUL-ended text; WM_GETTEXT:
  // wparam is the buffer size, lparam the buffer) and WM_CLOSE; else 0.
  virtual intptr_t perform(unsigned msg, uintptr_t wparam, intptr_t lparam);
  // Client and screen pixels: the widget's own mapping once it is shown, before that the
  // position summed over the parents.
  TPoint clientOrigin() const;
  TPoint clientToScreen(TPoint p) const;
  TPoint screenToClient(TPoint p) const;
  TSizeConstraints* constraints() const { return constraints_.get(); }
  TPopupMenu* popupMenu() const { return popup_menu_; }
  void setPopupMenu(TPopupMenu* menu);
  // dmAutomatic: a left press starts dragging the control (no mouse-down, no click).
  int dragMode() const { return drag_mode_; }
  void setDragMode(int mode) { drag_mode_ = mode; }
  // Starts dragging the control: at once, or after the mouse moved threshold pixels with
  // the left button held (a negative threshold: 5). The drag follows the mouse over the
  // program's controls (OnDragOver), drops on release (OnDragDrop when the target
  // accepted) and ends with the source's OnEndDrag.
  void beginDrag(bool immediate, int threshold = -1);
  bool dragging() const;
  // Ends the drag: dropped on the current target (when it accepts) or cancelled.
  void endDrag(bool drop);
  // The control whose widget (or a widget inside it) lies at the screen point; nil: none.
  static TControl* atScreenPoint(TPoint p);
  // The help topic of the control; 0: its parent's.
  int helpContext() const { return help_context_; }
  void setHelpContext(int context) { help_context_ = context; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnResize;
  TControlCanResizeEvent OnCanResize;
  TConstrainedResizeEvent OnConstrainedResize;
  TContextPopupEvent OnContextPopup;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TDragDropEvent OnDragDrop;
  TDragOverEvent OnDragOver;
  TEndDragEvent OnEndDrag;

  // Runs OnClick inside the handler guard, as a click by the user does; without an OnClick,
  // the linked action's OnExecute.
  virtual void click();
  // The linked action (nil: none); the action gives the control its state.
  TBasicAction* action() const { return action_; }
  void setAction(TBasicAction* action);
  // ParentFont: the control follows its parent's font until its own font is changed.
  bool parentFont() const { return parent_font_; }
  void setParentFont(bool p);

protected:
  // widget is owned by the control from here on.
  TControl(TComponent* owner, QWidget* widget);

  // Applies the stored bounds to the widget; forms add their frame.
  virtual void applyBounds();
  virtual void applyColor();
  virtual void applyFont();
  virtual void applyCaption() {}
  // The widget that receives mouse input (a viewport, a form's client area).
  virtual QWidget* mouseWidget() const { return widget_; }
  // The platform's mouse methods: each fires its event; a subclass (the flat push button)
  // overrides them and calls the inherited one. Coordinates are client pixels.
  virtual void mouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void mouseMove(TShiftState shift, int x, int y);
  virtual void mouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // Qt events of the widgets; true consumes the event.
  virtual bool handleEvent(QObject* target, QEvent* event);
  void notification(TComponent* c, Operation op) override;
  // Whether a left press and release over the control fire OnClick (panels, labels, boxes).
  bool click_on_release_ = false;
  void watch(QWidget* w);  // routes w's events through handleEvent
  // No realign of the parent; the size passes OnCanResize and the constraints first.
  void setBoundsQuietly(int left, int top, int width, int height);
  // Stores bounds the window already has (the user moved or sized it): no checks.
  void storeBounds(int left, int top, int width, int height);
  // The platform's size check: OnCanResize may refuse (false) or change the size, then
  // the constraints, as OnConstrainedResize leaves them, clamp it.
  bool checkNewSize(int& width, int& height);
  // The constraints changed: a form limits its window by them.
  virtual void applyConstraints();
  // Scales the bounds, and the font when it is the control's own (MulDiv rounding).
  virtual void changeScale(int multiplier, int divisor);
  // The wheel turned over the control: OnMouseWheel, else OnMouseWheelDown or Up; true
  // when a handler took it.
  bool doMouseWheel(TShiftState shift, int wheel_delta, TPoint mouse_pos);

  bool syncing_ = false;  // set while the layer itself changes the widget

private:
  friend class TWinControl;
  friend class ControlFilter;
  bool mouseEvent(QEvent* event);
  bool showActionHint(QHelpEvent* event);
  // A drag under way or waiting for its threshold: the mouse serves it.
  bool dragMouseEvent(QEvent* event);
  bool wheelEvent(QEvent* event);
  bool contextMenuEvent(QEvent* event);
  void adoptFont(const TFont& font);

  QPointer<QWidget> widget_;
  QObject* filter_ = nullptr;
  // Registered in the window-message table with the handle, once the handle is given.
  mutable std::unique_ptr<kestrin::platform::WindowMessageTarget> message_target_;
  std::shared_ptr<char> alive_ = std::make_shared<char>(0);
  TWinControl* parent_ = nullptr;
  TBasicAction* action_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  int align_ = alNone;
  uint32_t anchors_ = setOf({akLeft, akTop});
  bool visible_ = true;
  bool enabled_ = true;
  bool pressed_ = false;
  bool redelivering_ = false;  // set while a release goes to the widget's own handling
  int wheel_accumulator_ = 0;   // wheel turns short of a notch
  bool parent_font_ = true;
  bool adopting_font_ = false;  // set while the parent's font is copied in
  TColor color_ = clBtnFace;
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TSizeConstraints> constraints_;
  TPopupMenu* popup_menu_ = nullptr;
  int help_context_ = 0;
  int drag_mode_ = dmManual;
  std::string hint_;
  std::string caption_;
  int cursor_ = crDefault;
};

// The published Caption of the controls that show one.
PropertyInfo captionProp();

class TWinControl : public TControl {
public:
  ~TWinControl() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  int controlCount() const { return static_cast<int>(controls_.size()); }
  TControl* controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
  // The widget that children are placed in.
  virtual QWidget* container() const { return widget(); }
  int clientWidth() const override;
  int clientHeight() const override;
  // The platform's align layout: alTop, alBottom, alLeft, alRight, then alClient, each kind
  // in position order, consuming the client rectangle. changed: the control whose align,
  // bounds or visibility just changed, first among equals. While a description is read
  // into the control it waits for loaded(), so the order comes from the positions read
  // rather than from the order the children were made in.
  void realign(TControl* changed = nullptr);
  void loaded() override;
  // While disabled (counted), realign only notes that it is due; the last enableAlign
  // realigns once when it was.
  void disableAlign();
  void enableAlign();
  bool focused() const;
  void setFocus();
  // The child controls owned by root, in Controls[] order.
  void getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const override;
  // Shown and enabled, and so is every parent up to a form; false without a form.
  bool canFocus() const;
  bool containsControl(const TControl* c) const;
  // The top-most visible child at the client point (disabled ones only when allowed,
  // windowed ones only when allowed); nil when none.
  TControl* controlAtPos(TPoint p, bool allow_disabled, bool allow_windowed = false) const;
  // The child control of that name (without case), nil when none.
  TControl* findChildControl(std::string_view name) const;
  // Scales the children's bounds (and fonts that are their own) and then the control's
  // own size by multiplier / divisor; a divisor of 0 throws "Division by zero".
  void scaleBy(int multiplier, int divisor);
  // Mirrors the children left to right (alLeft and alRight swapped); all_levels also
  // inside the windowed children.
  void flipChildren(bool all_levels);
  // Moves every child by (dx, dy).
  void scrollBy(int dx, int dy);
  // Docking is not supported: no control is ever docked.
  int visibleDockClientCount() const { return 0; }
  // The handle of the window that holds a parentless control (0: none).
  uint32_t parentWindow() const { return parent_window_; }
  void setParentWindow(uint32_t handle) { parent_window_ = handle; }

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

protected:
  TWinControl(TComponent* owner, QWidget* widget);
  bool handleEvent(QObject* target, QEvent* event) override;
  void changeScale(int multiplier, int divisor) override;
  // The rectangle aligned children share (a group box leaves room for its caption).
  virtual TRect alignRect() const;
  // Called when the client area changed size: anchored children follow, aligned ones realign.
  void clientResized();
  // Called after the client area took a new size, shown or not (Qt tells a hidden widget
  // of its new size only when it shows).
  virtual void clientSizeChanged() {}
  // Called after a child control came or went (a page control keeps its pages by it).
  virtual void childrenChanged() {}

private:
  friend class TControl;
  bool keyEvent(QEvent* event);
  // Controls[]: the non-windowed controls first, then the windowed ones, each in the
  // order they came.
  void insertControl(TControl* c);
  std::vector<TControl*> controls_;
  int last_client_w_ = -1, last_client_h_ = -1;
  int align_level_ = 0;
  bool align_due_ = false;
  uint32_t parent_window_ = 0;
  bool aligning_ = false;
};

}  // namespace kgui
