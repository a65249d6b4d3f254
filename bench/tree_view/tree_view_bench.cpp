// Loading a tree text file of 110,000 nodes (10,000 top nodes, each with one child holding
// nine) into a tree view, against a plain QTreeWidget building the same tree from lines
// already in memory, in the same run. Goal: the load takes at most QTreeWidget's time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeWidget>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "../common/median_reporter.h"
#include "base/convert.h"
#include "base/text_file.h"
#include "platform/gui/tree_text.h"
#include "platform/gui/tree_view.h"

namespace {

std::string file_path;
std::vector<kgui::TreeTextLine> lines;

void MakeTree() {
  for (int top = 0; top < 10000; ++top) {
    lines.push_back({0, "node " + std::to_string(top)});
    lines.push_back({1, "child of " + std::to_string(top)});
    for (int leaf = 0; leaf < 9; ++leaf) lines.push_back({2, "leaf " + std::to_string(leaf)});
  }
  if (!kestrin::write_file_bytes(file_path, kgui::WriteTreeText(lines))) std::abort();
}

void BM_TreeViewLoadFromFile(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto view = std::make_unique<kgui::TTreeView>(nullptr);
    view->widget()->show();
    state.ResumeTiming();
    view->loadFromFile(file_path);
    QApplication::processEvents();
    state.PauseTiming();
    if (view->items()->count() != static_cast<int>(lines.size())) state.SkipWithError("wrong count");
    view.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TreeViewLoadFromFile)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_QTreeWidgetBuild(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto tree = std::make_unique<QTreeWidget>();
    tree->show();
    state.ResumeTiming();
    std::vector<QTreeWidgetItem*> path;
    for (const kgui::TreeTextLine& line : lines) {
      path.resize(static_cast<size_t>(line.level));
      QTreeWidgetItem* item = line.level == 0 ? new QTreeWidgetItem(tree.get()) : new QTreeWidgetItem(path.back());
      item->setText(0, QString::fromStdString(line.text));
      path.push_back(item);
    }
    QApplication::processEvents();
    state.PauseTiming();
    tree.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_QTreeWidgetBuild)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::string folder = std::filesystem::temp_directory_path().string() + "/kestrin_tree_view_bench/";
  std::filesystem::create_directories(folder);
  file_path = folder + "tree.txt";
  MakeTree();
  benchmark::Initialize(&argc, argv);
  kestrin::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::filesystem::remove_all(folder);
  double load = 0, widget = 0;
  for (const auto& [name, seconds] : reporter.medians) {
    if (name == "BM_TreeViewLoadFromFile") load = seconds;
    if (name == "BM_QTreeWidgetBuild") widget = seconds;
  }
  if (load <= 0 || widget <= 0) return 1;
  std::cout << kestrin::Format("tree text load of %d nodes: %.1f ms; QTreeWidget build: %.1f ms; ratio %.2f (goal: at most 1)",
                               {static_cast<int>(lines.size()), load * 1000, widget * 1000, load / widget})
            << '\n';
  return 0;
}
