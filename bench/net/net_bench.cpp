// Downloads on loopback: TnHTTP GetFile and Get of 10^9 bytes served by an os.sendfile
// route, TnHTTPS Get of 10^8 bytes from openssl s_server -WWW, and a script's HTTP.get and
// HTTP.getFile of the same 10^9 bytes run by kestrin-script; then curl and Python's urllib
// fetch the same in the same run, and the time ratios and peak memory are printed.
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"
#include "../common/peer_timing.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "base/convert.h"
#include "script/objects/net/https.h"
#include "support/peer_process.h"
#include "support/temp_dir.h"

namespace {

using kestrin::bench::MedianReporter;
using kestrin::test::PeerProcess;

constexpr size_t kHttpBytes = 1000000000;
constexpr size_t kHttpsBytes = 100000000;

std::string folder, http_url, https_url, ca_file;
size_t peak_after_files = 0;

void make_file(const std::string& path, size_t size) {
  std::vector<char> block(1 << 20);
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>((i * 131) >> 3);
  std::ofstream out(path, std::ios::binary);
  for (size_t done = 0; done < size; done += block.size())
    out.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), size - done)));
}

void BM_KestrinGetFile(benchmark::State& state) {
  for (auto _ : state) {
    kestrin::script::TnHTTP http(65536);
    http.GetFile(http_url, folder + "out.bin");
    if (std::filesystem::file_size(folder + "out.bin") != kHttpBytes) state.SkipWithError("short file");
  }
  peak_after_files = kestrin::test::PeakRssBytes();
}
BENCHMARK(BM_KestrinGetFile)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_KestrinGet(benchmark::State& state) {
  for (auto _ : state) {
    kestrin::script::TnHTTP http(65536);
    std::string body;
    http.Get(http_url, body);
    if (body.size() != kHttpBytes) state.SkipWithError("short body");
  }
}
BENCHMARK(BM_KestrinGet)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

// A body store grown by realloc, which moves large blocks without copying or touching
// their pages again: what a string type that grows in place would cost.
class GrowableBuffer : public kestrin::script::TnStream {
public:
  ~GrowableBuffer() override { std::free(data_); }
  int64_t Size() override { return static_cast<int64_t>(size_); }
  void SetPosition(int64_t) override {}
  int64_t Read(void*, int64_t) override { return 0; }
  void Write(const void* buffer, int64_t count) override {
    const auto n = static_cast<size_t>(count);
    if (size_ + n > capacity_) {
      capacity_ = std::max(size_ + n, capacity_ * 2);
      data_ = static_cast<char*>(std::realloc(data_, capacity_));
      if (!data_) throw std::bad_alloc();
    }
    std::memcpy(data_ + size_, buffer, n);
    size_ += n;
  }

private:
  char* data_ = nullptr;
  size_t size_ = 0, capacity_ = 0;
};

void BM_KestrinGetIntoGrowableBuffer(benchmark::State& state) {
  for (auto _ : state) {
    kestrin::script::TnHTTP http(65536);
    GrowableBuffer body;
    http.Get(http_url, body);
    if (body.Size() != static_cast<int64_t>(kHttpBytes)) state.SkipWithError("short body");
  }
}
BENCHMARK(BM_KestrinGetIntoGrowableBuffer)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_KestrinHttpsGet(benchmark::State& state) {
  for (auto _ : state) {
    kestrin::script::TnHTTPS https(65536);
    std::string body;
    https.Get(https_url, body);
    if (body.size() != kHttpsBytes) state.SkipWithError("short body");
  }
}
BENCHMARK(BM_KestrinHttpsGet)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

#ifdef KESTRIN_SCRIPT_RUNNER
// The script runner doing what a user's script does: one call of the HTTP object, the body
// kept in a variable and not touched. Seconds (median of `runs`) and the peak resident
// memory of the last run, measured by /usr/bin/time so that nothing of this process counts.
struct ScriptRun {
  double seconds = -1;
  size_t peak_bytes = 0;
};

ScriptRun script_seconds(const std::string& call, int runs) {
  const std::string script = folder + "get.js", peak = folder + "peak.txt";
  std::ofstream(script, std::ios::binary) << "var h = new HTTP();\nvar body = " << call << ";\n";
  ScriptRun run;
  const double seconds = kestrin::bench::CommandSeconds(
      "/usr/bin/time -f %M -o '" + peak + "' '" KESTRIN_SCRIPT_RUNNER "' '" + script + "' | grep -qx 'exit code: 0'", runs);
  std::ifstream in(peak);
  std::string kib;
  std::getline(in, kib);
  if (seconds > 0) run = {seconds, size_t(kestrin::TryStrToFloat(kib).value_or(0)) * 1024};
  return run;
}
#endif

double urllib_seconds(const std::string& url, int runs, const std::string& ca = std::string()) {
  std::string out;
  const std::string script = std::string(KESTRIN_SOURCE_DIR) + "/bench/net/urllib_time.py";
  if (kestrin::test::run_command("/usr/bin/python3 '" + script + "' '" + url + "' " + std::to_string(runs) + " " + ca, &out) != 0)
    return -1;
  return kestrin::TryStrToFloat(out.substr(0, out.find('\n'))).value_or(-1);
}

}  // namespace

int main(int argc, char** argv) {
  kestrin::test::TempDir temp;
  folder = temp.path();
  make_file(folder + "big.bin", kHttpBytes);
  make_file(folder + "tls.bin", kHttpsBytes);
  std::string error;
  const kestrin::test::TestCertificates certs = kestrin::test::TestCertificates::Make(folder, &error);
  PeerProcess routes, tls;
  const uint16_t tls_port = kestrin::test::FreeLoopbackPort();
  if (certs.folder.empty() ||
      !routes.Start({"/usr/bin/python3", std::string(KESTRIN_SOURCE_DIR) + "/tests/peers/http_routes.py", "--big-file",
                     folder + "big.bin"},
                    0, &error) ||
      !tls.Start({"/usr/bin/openssl", "s_server", "-accept", "127.0.0.1:" + std::to_string(tls_port), "-cert", certs.valid,
                  "-key", certs.server_key, "-WWW", "-quiet"},
                 tls_port, &error, folder)) {
    std::cout << "peers could not start: " << error << '\n';
    return 1;
  }
  ::setenv("SSL_CERT_FILE", certs.ca.c_str(), 1);
  ca_file = certs.ca;
  http_url = "http://127.0.0.1:" + std::to_string(routes.port()) + "/big";
  https_url = "https://127.0.0.1:" + std::to_string(tls_port) + "/tls.bin";

  benchmark::Initialize(&argc, argv);
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const size_t peak = kestrin::test::PeakRssBytes();

  const double curl_file = kestrin::bench::CommandSeconds("curl -s -o '" + folder + "curl.bin' '" + http_url + "'", 3);
  const double urllib_get = urllib_seconds(http_url, 3);
  const double curl_null = kestrin::bench::CommandSeconds("curl -s -o /dev/null '" + http_url + "'", 3);
  const double curl_tls = kestrin::bench::CommandSeconds("curl -s --cacert '" + ca_file + "' -o /dev/null '" + https_url + "'", 5);
  const double urllib_tls = urllib_seconds(https_url, 5, ca_file);
#ifdef KESTRIN_SCRIPT_RUNNER
  const ScriptRun script_get = script_seconds("h.get(\"" + http_url + "\")", 3);
  const ScriptRun script_file = script_seconds("h.getFile(\"" + http_url + "\", \"" + folder + "script.bin\")", 3);
  kestrin::bench::ReportRatio("script HTTP.get 10^9 B (kestrin-script)", script_get.seconds, "curl -o /dev/null", curl_null);
  kestrin::bench::ReportRatio("script HTTP.get 10^9 B (kestrin-script)", script_get.seconds, "urllib read()", urllib_get);
  kestrin::bench::ReportRatio("script HTTP.getFile 10^9 B (kestrin-script)", script_file.seconds, "curl -o FILE", curl_file);
  std::cout << kestrin::Format("script HTTP.get peak RSS: %.1f MB, %.2f of the body (goal: at most 1.1); getFile: %.1f MB",
                               {script_get.peak_bytes / 1e6, double(script_get.peak_bytes) / double(kHttpBytes),
                                script_file.peak_bytes / 1e6})
            << '\n';
#endif
  for (const auto& [name, seconds] : reporter.medians) {
    if (name == "BM_KestrinGetFile") kestrin::bench::ReportRatio("HTTP getFile 10^9 B", seconds, "curl -o FILE", curl_file);
    if (name == "BM_KestrinGet") {
      kestrin::bench::ReportRatio("HTTP get 10^9 B into memory", seconds, "urllib read()", urllib_get);
      kestrin::bench::ReportRatio("HTTP get 10^9 B into memory", seconds, "curl -o /dev/null", curl_null);
    }
    if (name == "BM_KestrinGetIntoGrowableBuffer")
      kestrin::bench::ReportRatio("HTTP get 10^9 B into a realloc-grown buffer", seconds, "urllib read()", urllib_get);
    if (name == "BM_KestrinHttpsGet") {
      kestrin::bench::ReportRatio("HTTPS get 10^8 B into memory", seconds, "curl -o /dev/null", curl_tls);
      kestrin::bench::ReportRatio("HTTPS get 10^8 B into memory", seconds, "urllib read()", urllib_tls);
    }
  }
  std::cout << kestrin::Format("peak RSS: %.1f MB after the file downloads, %.1f MB after the downloads into memory",
                               {peak_after_files / 1e6, peak / 1e6})
            << '\n';
  return 0;
}
