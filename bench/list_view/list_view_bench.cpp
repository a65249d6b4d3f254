// A million items with two columns: populated and sorted by our list view (the caption order
// scripts get) and by a plain QTreeWidget; an owner-data list of a million rows shown, painted
// and scrolled to its end. Prints the ratios against QTreeWidget (goals: populate and sort
// each at most a quarter of QTreeWidget's; the owner-data paint at most 1/20 of its populate).
#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QScrollBar>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/list_view.h"
#include "script/core/hash_table.h"

namespace {

constexpr int kItems = 1000000;

// Captions in a scrambled order, so the sorts have work to do.
const std::vector<std::string>& captions() {
  static const std::vector<std::string> list = [] {
    std::vector<std::string> out(kItems);
    uint32_t x = 12345;
    for (int i = 0; i < kItems; ++i) {
      x = x * 1664525u + 1013904223u;
      out[static_cast<size_t>(i)] = "item " + std::to_string(x % 10000000u);
    }
    return out;
  }();
  return list;
}

// The scripts' caption order (the captions here are ASCII, their own CP932 text).
void scriptKey(std::string_view caption, std::string& out) { kestrin::script::AppendLocaleSortKey(caption, out); }

void populate(kgui::TListView& lv) {
  lv.setViewStyle(kgui::vsReport);
  lv.columns()->add()->setCaption("Name");
  lv.columns()->add()->setCaption("Value");
  lv.items()->beginUpdate();
  const auto& text = captions();
  for (int i = 0; i < kItems; ++i) {
    kgui::TListItem* item = lv.items()->add();
    item->setCaption(text[static_cast<size_t>(i)]);
    item->subItems()->add(std::to_string(i));
  }
  lv.items()->endUpdate();
}

void populate(QTreeWidget& tree) {
  tree.setColumnCount(2);
  QList<QTreeWidgetItem*> items;
  items.reserve(kItems);
  const auto& text = captions();
  for (int i = 0; i < kItems; ++i)
    items.append(new QTreeWidgetItem(QStringList{QString::fromStdString(text[static_cast<size_t>(i)]),
                                                 QString::number(i)}));
  tree.addTopLevelItems(items);
}

// Each run frees its list untimed.
void BM_OursPopulate(benchmark::State& st) {
  for (auto _ : st) {
    auto lv = std::make_unique<kgui::TListView>(nullptr);
    populate(*lv);
    st.PauseTiming();
    lv.reset();
    st.ResumeTiming();
  }
}

void BM_OursAlphaSort(benchmark::State& st) {
  for (auto _ : st) {
    st.PauseTiming();
    auto lv = std::make_unique<kgui::TListView>(nullptr);
    lv->setCaptionOrder(scriptKey);
    populate(*lv);
    st.ResumeTiming();
    benchmark::DoNotOptimize(lv->alphaSort());
    st.PauseTiming();
    lv.reset();
    st.ResumeTiming();
  }
}

void BM_QtPopulate(benchmark::State& st) {
  for (auto _ : st) {
    auto tree = std::make_unique<QTreeWidget>();
    populate(*tree);
    st.PauseTiming();
    tree.reset();
    st.ResumeTiming();
  }
}

void BM_QtSortItems(benchmark::State& st) {
  for (auto _ : st) {
    st.PauseTiming();
    auto tree = std::make_unique<QTreeWidget>();
    populate(*tree);
    st.ResumeTiming();
    tree->sortItems(0, Qt::AscendingOrder);
    st.PauseTiming();
    tree.reset();
    st.ResumeTiming();
  }
}

// Count = 1,000,000, the first paint, a scroll to the end and its paint.
void BM_OursOwnerDataPaint(benchmark::State& st) {
  int64_t filled = 0;
  for (auto _ : st) {
    auto lv = std::make_unique<kgui::TListView>(nullptr);
    lv->setViewStyle(kgui::vsReport);
    lv->columns()->add()->setCaption("Row");
    lv->setOwnerData(true);
    lv->OnData = [&filled](kgui::TComponent*, kgui::TListItem* item) {
      ++filled;
      item->setCaption("row " + std::to_string(item->index()));
    };
    lv->setBounds(0, 0, 400, 600);
    lv->widget()->show();
    lv->items()->setCount(kItems);
    QApplication::processEvents();
    lv->widget()->repaint();
    lv->view()->scrollToBottom();
    QApplication::processEvents();
    lv->widget()->repaint();
    st.PauseTiming();
    lv.reset();
    st.ResumeTiming();
  }
  st.counters["onData"] = static_cast<double>(filled) / static_cast<double>(st.iterations());
}

BENCHMARK(BM_OursPopulate)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_QtPopulate)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_OursAlphaSort)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_QtSortItems)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_OursOwnerDataPaint)->Unit(benchmark::kMillisecond)->Iterations(3);

class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) times_[r.run_name.function_name] = r.GetAdjustedRealTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    auto ratio = [&](const char* ours, const char* qt, const char* what) {
      if (times_[ours] > 0)
        std::printf("%s: ours %.1f ms, QTreeWidget %.1f ms, ours/Qt %.3f\n", what, times_[ours], times_[qt],
                    times_[ours] / times_[qt]);
    };
    ratio("BM_OursPopulate", "BM_QtPopulate", "populate (goal <= 0.25)");
    ratio("BM_OursAlphaSort", "BM_QtSortItems", "sort (goal <= 0.25)");
    ratio("BM_OursOwnerDataPaint", "BM_QtPopulate", "owner data paint against Qt's populate (goal <= 0.05)");
  }

private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  captions();  // made once, outside every timing
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
