// Loading a 6000 x 4000 background picture: our JPEG decode beside djpeg of
// the same library on the same file, the decode's peak memory against the
// pixel buffer it must hold anyway, and a 24-bit BMP of the same size.
//
// The pictures are made with ImageMagick on the first run and kept in
// /tmp/sorvane-picture-bench (about 80 MB): a plasma, enlarged and with
// noise, saved at quality 90 with 4:2:0 chroma as cameras do.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "render/bmp_decode.h"
#include "render/jpeg_decode.h"

extern char** environ;

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
const std::string kDirectory = "/tmp/sorvane-picture-bench";
const std::string kJpeg = kDirectory + "/photo-6000x4000.jpg";
const std::string kBmp = kDirectory + "/photo-6000x4000.bmp";

bool exists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && info.st_size > 0;
}

bool makePictures() {
  if (exists(kJpeg) && exists(kBmp)) return true;
  ::mkdir(kDirectory.c_str(), 0755);
  const std::string jpeg = "convert -seed 7 -size 1500x1000 plasma:fractal -resize 6000x4000! -attenuate 0.4 "
                           "+noise Gaussian -sampling-factor 2x2 -quality 90 " + kJpeg;
  const std::string bmp = "convert " + kJpeg + " -type truecolor -compress none BMP3:" + kBmp;
  return std::system(jpeg.c_str()) == 0 && std::system(bmp.c_str()) == 0 && exists(kJpeg) && exists(kBmp);
}

bool picturesReady(benchmark::State& state) {
  if (makePictures()) return true;
  state.SkipWithError("could not make the pictures (ImageMagick's convert)");
  return false;
}

double now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// djpeg writing its PPM to nowhere: the library's decode plus its own
// colour conversion and output, in a process of its own.
bool runDjpeg() {
  const char* argv[] = {"djpeg", "-outfile", "/dev/null", kJpeg.c_str(), nullptr};
  pid_t pid;
  if (posix_spawnp(&pid, "djpeg", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return false;
  int status = 0;
  return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Peak resident memory since the last resetPeakMemory, from the kernel.
long statusKilobytes(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::size_t length = std::strlen(field);
  while (std::getline(in, line))
    if (line.compare(0, length, field) == 0) return std::atol(line.c_str() + length);
  return -1;
}

bool resetPeakMemory() {
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
  out.flush();
  return static_cast<bool>(out);
}

bool decodeJpeg(DibPicture* picture) {
  return decodeJpegFile(kJpeg, picture) == JpegReadStatus::Ok && picture->width == kWidth &&
         picture->height == kHeight;
}

void BM_JpegDecode6000x4000(benchmark::State& state) {
  if (!picturesReady(state)) return;
  for (auto _ : state) {
    DibPicture picture;
    if (!decodeJpeg(&picture)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(picture.pixels.data.get());
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 3);
}
BENCHMARK(BM_JpegDecode6000x4000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void BM_Djpeg6000x4000(benchmark::State& state) {
  if (!picturesReady(state)) return;
  for (auto _ : state)
    if (!runDjpeg()) state.SkipWithError("djpeg failed");
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 3);
}
BENCHMARK(BM_Djpeg6000x4000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// Both in one run, alternating so that both see the same machine state;
// "ratio" is our time over djpeg's (target: at most 1.2). "peak_ratio" is
// the decode's peak resident growth over the 24-bit pixel buffer (target:
// under 1.3).
void BM_JpegDecodeAgainstDjpeg(benchmark::State& state) {
  if (!picturesReady(state)) return;
  double ours = 0, theirs = 0;
  for (auto _ : state) {
    double start = now();
    DibPicture picture;
    if (!decodeJpeg(&picture)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(picture.pixels.data.get());
    double middle = now();
    if (!runDjpeg()) state.SkipWithError("djpeg failed");
    ours += middle - start;
    theirs += now() - middle;
  }
  state.counters["ours_ms"] = 1000 * ours / static_cast<double>(state.iterations());
  state.counters["djpeg_ms"] = 1000 * theirs / static_cast<double>(state.iterations());
  state.counters["ratio"] = ours / theirs;

  // Peak memory of one decode, the picture freed before it starts.
  if (resetPeakMemory()) {
    const long before = statusKilobytes("VmRSS:");
    long peak = 0;
    {
      DibPicture picture;
      decodeJpeg(&picture);
      peak = statusKilobytes("VmHWM:");
    }
    const double buffer = static_cast<double>(jpegRowBytes(kWidth) + 1) * kHeight;
    state.counters["buffer_MB"] = buffer / 1e6;
    state.counters["peak_MB"] = static_cast<double>(peak - before) * 1024 / 1e6;
    state.counters["peak_ratio"] = static_cast<double>(peak - before) * 1024 / buffer;
  }
}
BENCHMARK(BM_JpegDecodeAgainstDjpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// What holding the picture costs by itself: the first write of a fresh
// pixel buffer of the decode's size (page faults and all), which djpeg,
// streaming its rows out, never pays.
void BM_FreshPixelBuffer6000x4000(benchmark::State& state) {
  const std::size_t size = (jpegRowBytes(kWidth) + 1) * kHeight;
  for (auto _ : state) {
    PixelBytes pixels;
    if (!allocatePixels(pixels, size)) state.SkipWithError("no memory");
    std::memset(pixels.data.get(), 0x80, size);
    benchmark::DoNotOptimize(pixels.data.get());
  }
}
BENCHMARK(BM_FreshPixelBuffer6000x4000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_BmpDecode24Bit6000x4000(benchmark::State& state) {
  if (!picturesReady(state)) return;
  for (auto _ : state) {
    DibPicture picture;
    if (decodeBmpFile(kBmp, &picture) != BmpReadStatus::Ok) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(picture.pixels.data.get());
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 3);
  if (resetPeakMemory()) {
    const long before = statusKilobytes("VmRSS:");
    long peak = 0;
    {
      DibPicture picture;
      decodeBmpFile(kBmp, &picture);
      peak = statusKilobytes("VmHWM:");
    }
    state.counters["peak_MB"] = static_cast<double>(peak - before) * 1024 / 1e6;
  }
}
BENCHMARK(BM_BmpDecode24Bit6000x4000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

}  // namespace
