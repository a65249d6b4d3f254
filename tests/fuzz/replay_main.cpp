// The fuzz targets' program where libFuzzer is not used: runs the target once on an empty
// input, then on every file named on the command line, a folder standing for the files in
// it (in name order). Each input lies in a heap block of exactly its size, so that the
// sanitizers see a read past its end. Exits 1 when a folder or file cannot be read or no
// file was given, so that a lost corpus fails its test.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

void run_one(const std::vector<char>& bytes) {
  std::unique_ptr<uint8_t[]> block(new uint8_t[bytes.size()]);
  std::copy(bytes.begin(), bytes.end(), block.get());
  LLVMFuzzerTestOneInput(block.get(), bytes.size());
}

bool read_file(const std::filesystem::path& path, std::vector<char>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// The files a command-line argument names: the file itself, or a folder's files.
bool inputs_of(const std::filesystem::path& arg, std::vector<std::filesystem::path>& files) {
  std::error_code ec;
  if (!std::filesystem::is_directory(arg, ec)) {
    files.push_back(arg);
    return std::filesystem::is_regular_file(arg, ec);
  }
  std::vector<std::filesystem::path> found;
  for (const auto& entry : std::filesystem::directory_iterator(arg, ec))
    if (entry.is_regular_file()) found.push_back(entry.path());
  std::sort(found.begin(), found.end());
  files.insert(files.end(), found.begin(), found.end());
  return !ec && !found.empty();
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    if (!inputs_of(argv[i], files)) {
      std::fprintf(stderr, "%s: no inputs in %s\n", argv[0], argv[i]);
      return 1;
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
    return 1;
  }
  run_one({});
  for (const auto& file : files) {
    std::vector<char> bytes;
    if (!read_file(file, bytes)) {
      std::fprintf(stderr, "%s: cannot read %s\n", argv[0], file.c_str());
      return 1;
    }
    run_one(bytes);
  }
  std::printf("%zu inputs replayed\n", files.size() + 1);
  return 0;
}
