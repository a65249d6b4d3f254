// The first load of an image as a user meets it: each load runs in a fresh process, Kestrin's
// whole load (decode, statistics, display levels, mask, views) against fabio.open(...).data in
// a fresh Python, for a 3000 x 3000 R-AXIS frame and 4096 x 4096 and 10000 x 10000 16-bit
// TIFFs (written by fabio). Two ratios per file: the whole process, start-up included, and
// the load alone as each process times it. Runs alternate between the two programs; the
// figures are medians.
//   first_load_bench [RUNS]    the benchmark (default 7 runs of each program per file)
//   first_load_bench --load PATH   one load; prints its seconds (the child process)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "base/convert.h"
#include "commands/file_commands.h"
#include "commands/headless_ports.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "ports/log.h"
#include "raxis_frame.h"

namespace {

using Clock = std::chrono::steady_clock;

int load_once(const std::string& path) {
  kestrin::reset_headless_ports();
  kestrin::the_log().set_listener([](const std::string&) {});
  const auto start = Clock::now();
  kestrin::load_img_proc(path);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (kestrin::current_image().NoImageFlag != 0) return 1;
  std::printf("%.9f\n", seconds);
  return 0;
}

// One run of `command`: the whole wall time and the seconds it printed; false when it failed.
struct Run {
  double whole = 0, load = 0;
};
bool run(const std::string& command, Run& out) {
  const auto start = Clock::now();
  std::FILE* p = popen(command.c_str(), "r");
  if (!p) return false;
  char line[128] = {0};
  const bool got = std::fgets(line, sizeof line, p) != nullptr;
  const bool ok = pclose(p) == 0;
  out.whole = std::chrono::duration<double>(Clock::now() - start).count();
  out.load = kestrin::TryStrToFloat(std::string(line, strcspn(line, "\r\n"))).value_or(-1);
  return ok && got && out.load > 0;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

std::string quoted(const std::string& s) { return "'" + s + "'"; }

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--load") return load_once(argv[2]);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const std::string self = std::filesystem::canonical("/proc/self/exe").string();
  const std::string script = std::string(KESTRIN_SOURCE_DIR) + "/bench/loading/fabio_first_load.py";
  const std::string folder = std::filesystem::temp_directory_path().string() + "/kestrin_first_load_bench/";
  std::filesystem::create_directories(folder);

  struct Case {
    std::string name, file;
    int side;  // 0: the R-AXIS frame
  };
  const std::vector<Case> cases = {{"R-AXIS 3000x3000", "frame.img", 0},
                                   {"TIFF 4096x4096", "t4096.tif", 4096},
                                   {"TIFF 10000x10000", "t10000.tif", 10000}};
  int status = 0;
  for (const Case& c : cases) {
    const std::string path = folder + c.file;
    if (c.side == 0)
      kestrin::bench::write_raxis_frame(path);
    else if (std::system(("/usr/bin/python3 " + quoted(script) + " write " + quoted(path) + " " + std::to_string(c.side)).c_str()) != 0) {
      std::cout << "fabio could not write the TIFF (is python3-fabio installed?)\n";
      status = 1;
      break;
    }
    std::vector<double> ours_whole, ours_load, fabio_whole, fabio_load;
    bool failed = false;
    for (int i = 0; i < runs && !failed; ++i) {
      Run k, f;
      failed = !run(quoted(self) + " --load " + quoted(path), k) ||
               !run("/usr/bin/python3 " + quoted(script) + " load " + quoted(path), f);
      ours_whole.push_back(k.whole);
      ours_load.push_back(k.load);
      fabio_whole.push_back(f.whole);
      fabio_load.push_back(f.load);
    }
    std::filesystem::remove(path);
    if (failed) {
      std::cout << c.name << ": a load failed (Kestrin's, or fabio's: is python3-fabio installed?)\n";
      status = 1;
      continue;
    }
    const double kw = median(ours_whole), kl = median(ours_load), fw = median(fabio_whole), fl = median(fabio_load);
    std::cout << kestrin::Format("%s, fresh process (medians of %d): whole process %.1f ms, fabio's %.1f ms: %.3f of fabio's time; "
                                 "load alone %.1f ms, fabio's %.1f ms: %.3f (goal: at most 0.2)",
                                 {c.name, runs, kw * 1000, fw * 1000, kw / fw, kl * 1000, fl * 1000, kl / fl})
              << '\n';
  }
  std::filesystem::remove_all(folder);
  return status;
}
