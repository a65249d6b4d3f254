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
#include "platform/classes/type_tables.h"

class QEvent;
class QHelpEvent;
class QObject;

namespace kgui {

class TWinControl;
class TBasicAction;

using TNotifyEvent = std::function<void(TComponent* sender)>;
using TMouseEvent =
    std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TComponent* sender, int& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TComponent* sender, char& key)>;

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

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnResize;

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
  void setBoundsQuietly(int left, int top, int width, int height);  // no realign of the parent

  bool syncing_ = false;  // set while the layer itself changes the widget

private:
  friend class TWinControl;
  friend class ControlFilter;
  bool mouseEvent(QEvent* event);
  bool showActionHint(QHelpEvent* event);
  void adoptFont(const TFont& font);

  QPointer<QWidget> widget_;
  QObject* filter_ = nullptr;
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
  bool parent_font_ = true;
  bool adopting_font_ = false;  // set while the parent's font is copied in
  TColor color_ = clBtnFace;
  std::unique_ptr<TFont> font_;
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
  // bounds or visibility just changed, first among equals.
  void realign(TControl* changed = nullptr);
  bool focused() const;
  void setFocus();
  // The child controls owned by root, in Controls[] order.
  void getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const override;

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

protected:
  TWinControl(TComponent* owner, QWidget* widget);
  bool handleEvent(QObject* target, QEvent* event) override;
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
  std::vector<TControl*> controls_;
  int last_client_w_ = -1, last_client_h_ = -1;
  bool aligning_ = false;
};

}  // namespace kgui
