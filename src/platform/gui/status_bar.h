// TStatusBar with its TStatusPanels: panels of fixed widths from the left, the last one
// reaching to the right edge; or, with SimplePanel, one panel showing SimpleText.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/item_list.h"
#include "platform/gui/control.h"

class QLabel;

namespace kgui {

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle { psText, psOwnerDraw };

class TStatusPanels;
class TStatusPanel;

// Told when an owner-draw panel is painted; a notification only (it cannot draw).
using TDrawPanelEvent = std::function<void(TComponent* sender, TStatusPanel* panel, const TRect& rect)>;

class TStatusPanel : public TPersistent {
public:
  explicit TStatusPanel(TStatusPanels& owner) : owner_(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  // Copies another panel's text, width, alignment, bevel and style.
  void assign(const TPersistent& source) override;
  std::string text() const { return text_; }
  void setText(const std::string& t);
  int width() const { return width_; }
  void setWidth(int w);
  int alignment() const { return alignment_; }
  void setAlignment(int a);
  int bevel() const { return bevel_; }
  void setBevel(int b);
  int style() const { return style_; }
  void setStyle(int s);
  int index() const;

private:
  void changed();
  TStatusPanels& owner_;
  std::string text_;
  int width_ = 50, alignment_ = 0, bevel_ = pbLowered, style_ = psText;
};

class TStatusPanels : public TCollection {
public:
  explicit TStatusPanels(std::function<void()> changed) : changed_(std::move(changed)) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  // Takes the panels of another collection, item by item.
  void assign(const TPersistent& source) override;
  int count() const override { return items_.count(); }
  TStatusPanel* items(int index) const { return items_.at(index); }  // nil out of range
  int indexOf(const TStatusPanel* panel) const { return items_.indexOf(panel); }
  TStatusPanel* add();
  void clear() override;
  TPersistent* item(int index) const override { return items(index); }
  TPersistent* addItem() override { return add(); }
  const ClassInfo& itemClass() const override { return TStatusPanel::staticClassInfo(); }
  void changed() const { if (changed_) changed_(); }

private:
  std::function<void()> changed_;
  ItemList<TStatusPanel> items_;
};

class TStatusBar : public TWinControl {
public:
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  TStatusPanels* panels() const { return panels_.get(); }
  bool simplePanel() const { return simple_panel_; }
  void setSimplePanel(bool s);
  std::string simpleText() const { return simple_text_; }
  void setSimpleText(const std::string& t);
  // The rectangle panel index takes on the bar (the last one to the edge); empty when none.
  TRect panelRect(int index) const;

  TDrawPanelEvent OnDrawPanel;
  TNotifyEvent OnHint;

protected:
  bool handleEvent(QObject* target, QEvent* event) override;

private:
  void rebuild();
  std::unique_ptr<TStatusPanels> panels_;
  std::vector<QLabel*> labels_;  // one per panel, or one for the simple panel
  bool simple_panel_ = false;
  std::string simple_text_;
};

}  // namespace kgui
