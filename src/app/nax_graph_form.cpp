// The pattern graph window: building it, its layout on resize, and one call per action into
// the graph commands.
#include "app/nax_graph_form.h"

#include <algorithm>

#include "app/form_colours.h"
#include "app/form_lookup.h"
#include "commands/file_commands.h"
#include "commands/graph_draw.h"
#include "commands/main_form_commands.h"
#include "commands/nax_graph_commands.h"
#include "commands/parameter_controls.h"
#include "commands/print_commands.h"
#include "model/parameter_table.h"
#include "model/state.h"
#include "ports/names/nax_graph_names.h"
#include "ports/ports.h"

namespace kestrin::app {

using namespace kgui;

namespace {

constexpr TColor kRubberBandColour = rgb_to_color(64, 128, 64);
// The outer size whose layout gives the 500 x 400 graph the program starts with.
constexpr int kStartWidth = 636, kStartHeight = 705;
constexpr int kRangeTop = 36, kGraphTop = 93, kButtonsHeight = 40;
// How long the layout waits for the next resize of a frame drag.
constexpr int kGraphLayoutDelay = 60;

GraphButton graph_button(TMouseButton b) {
  return b == mbRight ? GraphButton::kRight : b == mbMiddle ? GraphButton::kMiddle : GraphButton::kLeft;
}

// The rubber band of a zoom drag: an outline combined with the picture by exclusive or, so it
// shows on every colour; it is drawn over the picture and never kept in it.
void draw_rubber_band(Canvas& c) {
  const auto band = graph_rubber_band();
  if (!band) return;
  c.pen().mode = pmXor;
  c.pen().color = kRubberBandColour;
  c.brush().style = bsClear;
  c.polygon({{band->x1, band->y1}, {band->x2, band->y1}, {band->x2, band->y2}, {band->x1, band->y2}});
}

class GraphPort : public GraphWindowPort {
public:
  void show() override { show_window(frmNaxGraph::form); }
  void draw_nax_graph() override {
    if (TfrmNaxGraph* f = form_of<TfrmNaxGraph>()) f->drawGraph();
  }
  void draw_graph_line(int x1, int y1, int x2, int y2, int32_t colour) override {
    if (TfrmNaxGraph* f = form_of<TfrmNaxGraph>()) f->drawLine(x1, y1, x2, y2, colour);
  }
};

}  // namespace

GraphWindowPort& nax_graph_port() {
  static GraphPort port;
  return port;
}

TfrmNaxGraph::TfrmNaxGraph(TComponent* owner) : TForm(owner) {
  setVisible(false);
  setName(std::string(frmNaxGraph::form));
  setCaption("KES for Windows (Intensity Graph)");
  setColor(kFormColour);
  setBounds(left(), top(), kStartWidth, kStartHeight);
  createButtonRow();
  createRangePanel();
  createPicture();
  createBottomPanel();
  tmrLayout = new TTimer(this);
  tmrLayout->setEnabled(false);
  tmrLayout->setInterval(kGraphLayoutDelay);
  tmrLayout->setOnTimer([this](TComponent*) {
    tmrLayout->setEnabled(false);
    FormResize();
  });
  applyLayout();  // without a draw: there is nothing to draw yet
  OnResize = [this](TComponent*) { tmrLayout->setEnabled(true); };
}

void TfrmNaxGraph::createButtonRow() {
  const struct {
    ControlName name;
    const char* caption;
    void (*run)();
  } buttons[] = {
      {frmNaxGraph::pbtnLoadIntensity, "Load Intensity", &load_nax_dialog},
      {frmNaxGraph::pbtnSaveIntensity, "Save Intensity", &save_nax_dialog},
      {frmNaxGraph::pbtnDefaultRegion, "Default Region", &default_region_command},
      {frmNaxGraph::pbtnPeakSearch, "Peak Search", [] { peak_search_and_show(); }},
      {frmNaxGraph::pbtnPrintIntensity, "Print Intensity", &print_graph_command},
  };
  TPanelButton** fields[] = {&pbtnLoadIntensity, &pbtnSaveIntensity, &pbtnDefaultRegion, &pbtnPeakSearch,
                            &pbtnPrintIntensity};
  for (size_t i = 0; i < std::size(buttons); ++i) {
    TPanelButton* b = make_panel_button(this, std::string(buttons[i].name.control), buttons[i].caption,
                                        10 + int(i) * 122, 4, 116, 28);
    b->OnClick = [run = buttons[i].run](TComponent*) { run(); };
    *fields[i] = b;
  }
}

TEdit* TfrmNaxGraph::addEdit(ControlName name, const char* label, int left, int top, int label_width, int width) {
  auto* l = new TLabel(this);
  l->setParent(pnlNaxBase);
  l->setBounds(left, top + 3, label_width, 16);
  l->setCaption(label);
  auto* e = new TEdit(this);
  e->setName(std::string(name.control));
  e->setParent(pnlNaxBase);
  e->setBounds(left + label_width, top, width, 21);
  if (const Parameter* p = parameter_of(name)) e->setText(std::string(control_of(*p).start_text));
  e->OnKeyDown = [](TComponent*, int& key, TShiftState) { graph_range_edit_key(key); };
  e->OnChange = [name](TComponent*) { parameter_control_changed(name); };
  return e;
}

void TfrmNaxGraph::createRangePanel() {
  pnlNaxBase = new TPanel(this);
  pnlNaxBase->setName(std::string(frmNaxGraph::pnlNaxBase.control));
  pnlNaxBase->setParent(this);
  pnlNaxBase->setBounds(10, kRangeTop, kStartWidth - 20, 400);
  pnlNaxBase->setColor(kPanelColour);
  // Positions in the order of the range edits' names: left, top, label width, edit width.
  const int bounds[][4] = {{8, 8, 52, 70},  {140, 8, 42, 70}, {262, 8, 52, 80},
                           {404, 8, 42, 80}, {8, 36, 80, 80},  {178, 36, 70, 80}};
  TEdit** fields[] = {&edtXBegin, &edtXEnd, &edtYBegin, &edtYEnd, &edt2ThetaBegin, &edt2ThetaEnd};
  for (size_t i = 0; i < std::size(frmNaxGraph::kRangeEdits); ++i) {
    const auto& [name, label] = frmNaxGraph::kRangeEdits[i];
    *fields[i] = addEdit(name, std::string(label).c_str(), bounds[i][0], bounds[i][1], bounds[i][2], bounds[i][3]);
  }
  Edit1 = addEdit(frmNaxGraph::Edit1, "SAMEPEAK", 338, 36, 70, 60);
  Edit1->setText(kSamePeakStartText);
  Edit1->OnKeyDown = [](TComponent*, int& key, TShiftState) { same_peak_edit_key(key); };
  lblCurValue = new TLabel(this);
  lblCurValue->setName(std::string(frmNaxGraph::lblCurValue.control));
  lblCurValue->setParent(pnlNaxBase);
  lblCurValue->setBounds(8, 66, 400, 16);
  lblCurValue->font()->setName("ＭＳ ゴシック");
  lblCurValue->setCaption("");
}

void TfrmNaxGraph::createPicture() {
  imgNaxGraph = new TPaintBox(this);
  imgNaxGraph->setName(std::string(frmNaxGraph::imgNaxGraph.control));
  imgNaxGraph->setParent(pnlNaxBase);
  imgNaxGraph->setBounds(5, kGraphTop, pnlNaxBase->width() - 10, pnlNaxBase->height() - 98);
  imgNaxGraph->setCursor(crCross);
  imgNaxGraph->OnOverlay = draw_rubber_band;
  imgNaxGraph->OnMouseDown = [this](TComponent*, TMouseButton b, TShiftState, int x, int y) {
    graph_mouse_down(graph_button(b), x, y);
    repaintRubberBand();
  };
  imgNaxGraph->OnMouseMove = [this](TComponent*, TShiftState, int x, int y) {
    graph_mouse_move(x, y);
    repaintRubberBand();
  };
  imgNaxGraph->OnMouseUp = [this](TComponent*, TMouseButton b, TShiftState, int x, int y) {
    graph_mouse_up(graph_button(b), x, y);
    repaintRubberBand();
  };
}

void TfrmNaxGraph::createBottomPanel() {
  pnlButtons = new TPanel(this);
  pnlButtons->setName(std::string(frmNaxGraph::pnlButtons.control));
  pnlButtons->setParent(this);
  pnlButtons->setBounds(10, kStartHeight - kButtonsHeight - 30, 330, kButtonsHeight);
  pnlButtons->setColor(kFormColour);
  pnlButtons->setBevelOuter(bvNone);
  auto add = [this](ControlName name, const char* caption, int left, int width, TNotifyEvent click) {
    TPanelButton* b = make_panel_button(this, std::string(name.control), caption, left, 6, width, 28);
    b->setParent(pnlButtons);  // owned by the form, placed on the panel
    b->setBounds(left, 6, width, 28);
    b->OnClick = std::move(click);
    return b;
  };
  pbtnReDraw = add(frmNaxGraph::pbtnReDraw, "ReDraw", 0, 90, [](TComponent*) { graph_window().draw_nax_graph(); });
  pbtnCopyClipboard =
      add(frmNaxGraph::pbtnCopyClipboard, "Copy to Clipboard", 96, 136, [](TComponent*) { copy_graph_command(); });
  pbtnClose = add(frmNaxGraph::pbtnClose, "Close", 238, 90, [this](TComponent*) { hide(); });
}

void TfrmNaxGraph::repaintRubberBand() {
  TRect now{};
  if (const auto band = graph_rubber_band())
    now = {std::min(band->x1, band->x2), std::min(band->y1, band->y2), std::max(band->x1, band->x2) + 1,
           std::max(band->y1, band->y2) + 1};
  if (now == band_shown_) return;
  // The outline only: its four edges, where it was and where it is.
  for (const TRect& r : {band_shown_, now}) {
    if (r.width() <= 0) continue;
    imgNaxGraph->invalidateRect({r.left, r.top, r.right, r.top + 1});
    imgNaxGraph->invalidateRect({r.left, r.bottom - 1, r.right, r.bottom});
    imgNaxGraph->invalidateRect({r.left, r.top, r.left + 1, r.bottom});
    imgNaxGraph->invalidateRect({r.right - 1, r.top, r.right, r.bottom});
  }
  band_shown_ = now;
}

void TfrmNaxGraph::drawGraph() {
  Canvas& c = imgNaxGraph->canvas();
  draw_nax_graph(c, imgNaxGraph->width(), imgNaxGraph->height(), [this, &c] {
    c.flushBatch();
    imgNaxGraph->repaint();
  });
}

void TfrmNaxGraph::drawLine(int x1, int y1, int x2, int y2, TColor colour) {
  Canvas& c = imgNaxGraph->canvas();
  const TColor pen = c.pen().color;
  c.pen().color = colour;
  c.moveTo(x1, y1);
  c.lineTo(x2, y2);
  c.pen().color = pen;
}

bool TfrmNaxGraph::applyLayout() {
  const auto l = graph_window_layout(width(), height(), pnlButtons->height());
  if (!l) return false;
  pnlButtons->setTop(l->buttons_top);
  pnlNaxBase->setBounds(pnlNaxBase->left(), pnlNaxBase->top(), l->base_width, l->base_height);
  imgNaxGraph->setBounds(imgNaxGraph->left(), imgNaxGraph->top(), l->picture_width, l->picture_height);
  set_graph_size_for_picture(imgNaxGraph->width(), imgNaxGraph->height());
  return true;
}

void TfrmNaxGraph::FormResize() {
  if (applyLayout()) graph_window().draw_nax_graph();
}

}  // namespace kestrin::app
