// The process-wide state shared by the image, analysis and window code: geometry and
// integration parameters, the current pattern, peak and fit tables, per-sector patterns,
// options, spots, the mask, rings and crystals, the view states, the batch state, the
// macro recorder and the merge and cake windows' pictures. Plain structs, one instance each,
// reached through state().
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/colour.h"
#include "base/uninit_vector.h"
#include "model/macro_recorder.h"
#include "model/view_state.h"

namespace kestrin {

struct CakeState;   // image/cake_picture.h
struct MergeState;  // image/merge_images.h

constexpr int kPatternSize = 36001;  // bins 0..36000
constexpr int kMaxPeaks = 500;
constexpr double kDeletedPeak = 99999.99;

// Geometry and integration settings, copied from the main window's edits before each
// calculation. Angles in degrees, lengths in millimetres.
struct IntegrationParams {
  int32_t band_width = 100;
  double X0 = 906.0, Y0 = 1989.0;
  double pixel_x = 0.1, pixel_y = 0.1;
  double Lo = 500.0;
  double Beta = 324.0, Phi = 0.0;
  int32_t graph_x_begin = 0, graph_x_end = 100, graph_y_begin = 0, graph_y_end = 10000;
  double graph_2theta_begin = 0.0, graph_2theta_end = 0.0;
  double two_theta_begin = 1.0, two_theta_end = 32.0, two_theta_step = 0.02;
  double wavelength = 1.0;
  int32_t RectDirection = 4;  // 0 TOP .. 10 LL; the main window starts at RIGHT
  double sector_start = 0.0, sector_end = 10.0;
  int32_t IntegrationMode = 2;  // 0 rectangle, 1 sector, 2 sectored division
  double rect_angle = 0.0;
  int32_t RectAngleMode = 0;  // 0 direction, 1 angle
  double division_angle = 22.5;
  int32_t sector_count = 16;

  // Y / X of the pixel sizes (1 for an X of 0). Formed whenever it is read, so that it
  // follows every change of a pixel size at once: an edit read, a script setter, an
  // image header, a parameter or settings file.
  double pixel_ratio() const { return pixel_x == 0.0 ? 1.0 : pixel_y / pixel_x; }
};

enum PatternKind : int { kPixelHistogram = 0, kAngleHistogram, kSector16Pixel, kFreeSectorPixel, kFreeSectorAngle };

// The current one-dimensional pattern.
struct NaxPattern {
  std::vector<int32_t> values = std::vector<int32_t>(kPatternSize, 0);
  int32_t N = 0;        // number of points
  int32_t maximum = 0;
  // Kind flags: 0 marks the current kind; all 1 means no pattern.
  std::array<int32_t, 5> kind = {1, 1, 1, 1, 1};
  std::string PatternName;
  std::string PatternTitle;
  std::string FilePath;
  std::vector<std::string> comments;

  bool has_kind(PatternKind k) const { return kind[k] == 0; }
  bool empty() const { return kind == std::array<int32_t, 5>{1, 1, 1, 1, 1}; }
  void set_kind(PatternKind k) { kind = {1, 1, 1, 1, 1}; kind[k] = 0; }
};

// Peaks: entries 0..count-1, ordered by rising 2theta after every change.
struct PeakList {
  std::vector<double> x = std::vector<double>(kMaxPeaks + 1, 0.0);
  std::vector<double> two_theta = std::vector<double>(kMaxPeaks + 1, 0.0);
  std::vector<double> d = std::vector<double>(kMaxPeaks + 1, 0.0);
  std::vector<double> intensity = std::vector<double>(kMaxPeaks + 1, 0.0);
  int32_t count = 0;
};
using PeakTable = PeakList;

// One sector of a sectored integration: its points up to its last point and, once a peak
// search or a peak edit has filled it, its peak list. Readers take points through value(),
// which gives 0 past the stored points, so a sector costs only what it holds.
struct SectorPattern {
  std::vector<int32_t> pattern;  // points 0..size-1
  int32_t last_point = 1;
  std::optional<PeakList> peak_list;

  int32_t value(int32_t i) const { return i >= 0 && size_t(i) < pattern.size() ? pattern[size_t(i)] : 0; }
  // The sector's points: the first last_point of them, as far as they are stored.
  std::span<const int32_t> points() const {
    const size_t n = last_point > 0 ? std::min(size_t(last_point), pattern.size()) : 0;
    return std::span<const int32_t>(pattern).first(n);
  }
  // The peak list, made when first asked for.
  PeakList& peaks() {
    if (!peak_list) peak_list.emplace();
    return *peak_list;
  }
  int32_t peak_count() const { return peak_list ? peak_list->count : 0; }
  // Empties the pattern and the peak count; the peak list keeps its entries.
  void clear() {
    pattern.clear();
    last_point = 0;
    if (peak_list) peak_list->count = 0;
  }
};

constexpr int32_t kMinStoredSectors = 16;

struct SectorPatterns {
  // The number of sectors the current sectored result made: readers walk 0..count-1.
  int32_t count = 0;
  std::vector<SectorPattern> sectors;
  // Makes room for n sectors (never fewer than 16) and records n as the sector count;
  // existing sectors keep their contents, new ones start empty.
  void allocate(int32_t n) {
    if (n < 0) n = 0;
    sectors.resize(size_t(std::max(n, kMinStoredSectors)));
    count = n;
  }
  // The recorded count, bounded by the store.
  int32_t walked() const { return std::clamp<int32_t>(count, 0, int32_t(sectors.size())); }
};

struct FitRecord {
  uint8_t fitted = 0;
  double amplitude = 0, position = 0, half_width = 0, base = 0, base_tilt = 0;
  double window_start = 0, window_end = 0;
  int32_t model = 0;  // 0 Lorentzian, 1 Gaussian
};

struct FitTables {
  std::vector<FitRecord> fitted = std::vector<FitRecord>(kMaxPeaks);
  std::vector<FitRecord> initial = std::vector<FitRecord>(kMaxPeaks);
  int32_t count = 0;
};

struct Options {
  uint8_t VerticalReverse = 0;
  int32_t CenterMarker = 0;
  double HwhmPixel = 3.0;
  double HwhmTheta = 0.1;
  int32_t DistanceSetting = 0;
  uint8_t GradationReverse = 0;
  int32_t ClearMask = 0;
  int32_t FitType = 0;
};

// The six display colours, in settings-file order.
struct DisplayColours {
  std::array<TColor, 6> colour = {0x008000, 0x808000, 0xFF00FF, 0xFF00FF, 0x0000FF, 0xC0DCC0};
};

// One spot of a loaded spot list, with what the spot analyses add to it.
struct SpotRecord {
  int32_t index = 0;  // 0-based row number in the file
  double x = 0, y = 0;
  int32_t intensity = 0;
  double background = 0;     // "spotbg"
  double net_amplitude = 0;  // "spotamp(net)"
  double net_intensity = 0;  // "spotint(net)"
  int32_t bg_distance = 0;   // "bgdistance(pixel)"
  double two_theta_fit = 0;  // "2th.fit(deg)"
  double two_theta_ref = 0;  // "2th.ref(deg)"
  double fwhm = 0;           // "FwHm(deg)"
  double two_theta_ini = 0;  // "2th.ini(deg)"
  double fit_amplitude = 0;  // "fit.amp"
  int32_t band = 0;          // "band(pixel)"
  int32_t fit_type = 0;      // "FitType"
  double threshold = 0;      // "shikii(%)"
  int32_t start_distance = 0;  // "StartDist(pixel)"
  double h = 0, k = 0, l = 0;
  double rrecx = 0, rrecy = 0, rrecz = 0;
  double diff = 0;
  double omega = 0;  // "omega(deg)"
  bool use = false;
  // Screen position of the spot's hkl label, set by the overlay drawing.
  int32_t label_x = -100000, label_y = -100000;
};

// One column of a spot-list CSV file: its name, and whether and where the header row has it.
struct FileTag {
  std::string name;
  bool found = false;
  int32_t index = -1;
};
constexpr int32_t kSpotColumnCount = 65;

// The spot list. SpotX, SpotY, SpotIntensity and SpotRecords hold at least SpotCount
// entries; the entries from SpotCount on mean nothing.
struct SpotList {
  std::vector<double> SpotX, SpotY, SpotIntensity;
  int32_t SpotCount = 0;
  int32_t SpotBatchStart = 0;  // first spot of the last appended batch; 0: none
  int32_t FocusedSpot = -1;
  // Set by the spot-analysis window: the overlays label each spot with |h|, |k|, |l| and
  // underline the negative ones.
  bool AnalysisLabels = false;
  std::vector<SpotRecord> SpotRecords;
  // Kind of the last loaded spot CSV: -1 refused, 0 with header or x, y, intensity in
  // columns 1 to 3, 1 positional of 15 to 17 columns, 2 analysed list.
  int32_t SpotFileKind = 0;
  std::array<FileTag, kSpotColumnCount> SpotColumnNames;
};

// A reference position of the oscillation batch.
struct SpotReference {
  double x = 0, y = 0;
  int32_t intensity = 0;
};

// The rings the ring removal works on: 2theta bounds in degrees and a flag each, equal lengths.
struct RingList {
  std::vector<double> ring_begin, ring_end;
  std::vector<int32_t> ring_correct;
};

// One crystal of the crystal file: its lattice and up to kMaxReflections reflections.
constexpr int32_t kMaxReflections = 100;
struct HklParam {
  std::string name;
  int32_t kind = 0;  // 0 cubic
  std::array<double, 6> lattice = {};  // the first is a
  int32_t count = 0;                   // reflections stored
  std::array<bool, kMaxReflections> use = {};
  std::array<int32_t, kMaxReflections> mask_width = {};
  std::array<std::array<int32_t, 3>, kMaxReflections> hkl = {};
};

// What the Pause, Continue and Cancel buttons of the long-running tool windows set.
enum BatchStateValue : int32_t { kBatchRun = 0, kBatchPause = 1, kBatchStop = 2 };

// The spot analysis runs: AnalyzeState 0 idle, 1 step mode, 2 all spots, 3 abort asked;
// Next and Retry as the step buttons set them.
enum AnalyzeStateValue : int32_t { kAnalyzeIdle = 0, kAnalyzeStep = 1, kAnalyzeAll = 2, kAnalyzeAbort = 3 };
struct AnalyzeRun {
  int32_t AnalyzeState = kAnalyzeIdle;
  bool AnalyzeNext = false, AnalyzeRetry = false;
};

// One byte per pixel of the current image, 0 free and 1 masked, row-major like the codes.
struct ImageMask {
  ZeroedVector<uint8_t> bytes;  // a fresh mask costs no pass and no memory until painted
  int32_t width = 0, height = 0;
  void resize(int32_t w, int32_t h) {
    width = w;
    height = h;
    bytes = {};
    bytes = ZeroedVector<uint8_t>(size_t(w) * size_t(h));
  }
  // A fresh, clear mask of w x h unless it has that size already.
  void fit(int32_t w, int32_t h) {
    if (width != w || height != h || bytes.size() != size_t(w) * size_t(h)) resize(w, h);
  }
  bool masked(int32_t x, int32_t y) const { return bytes[size_t(x) + size_t(width) * size_t(y)] != 0; }
};

// The 8-bit display level of each pixel of the current image (row-major), built by the
// display engine; integrations leave out level-0 pixels while OmitBlue is on.
struct DisplayLevels {
  UninitVector<uint8_t> level;
  int32_t width = 0, height = 0;
};

// The remembered folder (with its trailing '/') and filter index of each kind of file
// dialog, kept in the settings file, and the fit list's own pair, kept only while the
// program runs. Filter indexes start at -1.
enum FileSlot : int {
  kSlotImageOpen = 0, kSlotImageSave, kSlotMaskOpen, kSlotMaskSave,
  kSlotPatternOpen, kSlotPatternSave, kSlotPeakOpen, kSlotPeakSave, kFileSlotCount
};
struct FileDialogSlots {
  std::array<std::string, kFileSlotCount> folder;
  std::array<int32_t, kFileSlotCount> filter_index = {-1, -1, -1, -1, -1, -1, -1, -1};
  std::string fit_folder;
  int32_t fit_filter_index = -1;
};

// The header locks: a checked lock keeps the user's value of its parameter when an image
// header brings another. Bit i stands for the check box row i of the parameter table; all
// start checked, as their boxes do.
struct HeaderLocks {
  uint64_t checked = ~uint64_t(0);
};

// Everything above, one process-wide instance each.
struct SharedState {
  IntegrationParams integration_params;
  NaxPattern nax_pattern;
  SectorPatterns sector_patterns;
  PeakTable peak_table;
  FitTables fit_tables;
  Options options;
  DisplayColours colours;
  SpotList spot_list;
  ImageMask image_mask;
  DisplayLevels display_levels;
  DisplayScale display_scale;
  ImageView image_view;
  ImageTools image_tools;
  SelectedArea selected_area;
  MacroRecorder macro;
  GraphLayout graph;
  GraphDrag graph_drag;
  FileDialogSlots dialog_slots;
  std::vector<SpotReference> spot_reference;
  StringGrid spot_grid;           // the spot window's list
  StringGrid spot_analysis_grid;  // the spot analysis window's list
  StringGrid reference_grid;      // the oscillation window's reference list
  std::string OscOutputFolder;    // the oscillation batch's output folder, kept in its ini file
  RingList rings;
  std::vector<HklParam> hklParam;
  DisplayLevels bg_levels;  // the background image's display levels
  BgView bg_view;
  // The codes Make BG left in the background, restored before each subtraction; empty
  // while the background comes from a file.
  UninitVector<uint16_t> made_bg_codes;
  int32_t BatchState = kBatchRun;
  AnalyzeRun analyze;
  uint8_t WindowShow = 1;
  bool LoadingFlag = false;
  bool OmitGreen = false;  // leave masked pixels out of the integrations
  bool OmitBlue = false;   // leave display-level-0 pixels out
  double SamePeakTolerance = 0.005;  // the graph window's SAMEPEAK edit starts with kSamePeakStartText
  // The merge and cake windows' pictures. Their types belong to the image code, which makes
  // them here when first asked for (merge_state(), cake_state()); a reset drops them.
  std::shared_ptr<MergeState> merge;
  std::shared_ptr<CakeState> cake;
  HeaderLocks header_locks;
};

constexpr const char* kSamePeakStartText = "0.005";

SharedState& state();
// Replaces the shared state with a fresh one, the merge and cake pictures included.
// image/program_state.h resets the image stores with it.
void reset_shared_state();

}  // namespace kestrin
