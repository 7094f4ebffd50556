// The Windows halves on a real device context: text effects, fonts asked
// for by their real (Japanese) names, the GDI guards, and pictures turned
// into bitmaps.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/month_grid.h"
#include "render/fonts.h"
#include "render/gdi_guards_win.h"
#include "render/gdi_text_win.h"
#include "platform/text_convert.h"
#include "render/paint.h"
#include "render/picture.h"
#include "settings/app_settings.h"
#include "settings/settings_file.h"
#include "core/test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kMain = RGB(0, 0, 255);
constexpr COLORREF kOutline = RGB(0, 255, 0);

// A 32-bit top-down DIB section we can draw on and read back.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height), dc_(nullptr) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
    select_ = std::make_unique<SelectGuard>(dc_.get(), bitmap_.get());
    RECT all{0, 0, width, height};
    GdiObject<HBRUSH> white(CreateSolidBrush(kWhite));
    FillRect(dc_.get(), &all, white.get());
  }
  HDC dc() const { return dc_.get(); }
  COLORREF at(int x, int y) const {
    GdiFlush();
    std::uint32_t p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  std::vector<std::uint32_t> pixels() const {
    GdiFlush();
    return std::vector<std::uint32_t>(bits_, bits_ + width_ * height_);
  }
  std::vector<POINT> pixelsOf(COLORREF colour) const {
    std::vector<POINT> found;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (at(x, y) == colour) found.push_back(POINT{x, y});
    return found;
  }

 private:
  int width_, height_;
  MemoryDC dc_;
  GdiObject<HBITMAP> bitmap_;
  std::uint32_t* bits_ = nullptr;
  std::unique_ptr<SelectGuard> select_;
};

HFONT testFont() {
  LOGFONTW logfont{};
  logfont.lfHeight = -24;
  logfont.lfWeight = FW_BOLD;
  logfont.lfQuality = NONANTIALIASED_QUALITY;  // exact colours, no blending
  wcscpy(logfont.lfFaceName, L"Arial");
  return CreateFontIndirectW(&logfont);
}

bool contains(const std::vector<POINT>& points, int x, int y) {
  for (const POINT& p : points)
    if (p.x == x && p.y == y) return true;
  return false;
}

// Draws "8" at (10, 10) in the given style and returns the canvas.
std::unique_ptr<Canvas> drawEight(int drawType) {
  auto canvas = std::make_unique<Canvas>(60, 50);
  GdiObject<HFONT> font(testFont());
  SelectGuard select(canvas->dc(), font.get());
  SetBkMode(canvas->dc(), TRANSPARENT);
  drawEffectText(canvas->dc(), drawType, kOutline, kMain,
                 [&](int dx, int dy) { drawTextAt(canvas->dc(), ScreenText("8"), 10 + dx, 10 + dy); });
  return canvas;
}

TEST(GdiTextEffect, NormalDrawsOnlyTheMainColour) {
  auto canvas = drawEight(0);
  EXPECT_FALSE(canvas->pixelsOf(kMain).empty());
  EXPECT_TRUE(canvas->pixelsOf(kOutline).empty());
  EXPECT_TRUE(canvas->pixelsOf(kBlack).empty());
}

TEST(GdiTextEffect, ShadowIsBlackOnePixelDownAndRight) {
  std::vector<POINT> plain = drawEight(0)->pixelsOf(kMain);
  auto canvas = drawEight(1);
  std::vector<POINT> main = canvas->pixelsOf(kMain);
  std::vector<POINT> shadow = canvas->pixelsOf(kBlack);
  EXPECT_EQ(main.size(), plain.size()) << "the main text is drawn last, on top";
  ASSERT_FALSE(shadow.empty());
  // Every shadow pixel is a main pixel moved by (+1, +1).
  for (const POINT& p : shadow) EXPECT_TRUE(contains(plain, p.x - 1, p.y - 1)) << p.x << "," << p.y;
}

TEST(GdiTextEffect, OutlineIsAtTheFourNeighboursAndNotTheDiagonals) {
  std::vector<POINT> plain = drawEight(0)->pixelsOf(kMain);
  auto canvas = drawEight(2);
  std::vector<POINT> outline = canvas->pixelsOf(kOutline);
  ASSERT_FALSE(outline.empty());
  EXPECT_EQ(canvas->pixelsOf(kMain).size(), plain.size());
  for (const POINT& p : outline) {
    bool neighbour = contains(plain, p.x + 1, p.y) || contains(plain, p.x - 1, p.y) ||
                     contains(plain, p.x, p.y + 1) || contains(plain, p.x, p.y - 1);
    EXPECT_TRUE(neighbour) << p.x << "," << p.y;
  }
  // Around every main pixel, the four neighbours are outline or main; a
  // pixel touching the glyph only at a corner stays white.
  int diagonalOnly = 0;
  for (int y = 1; y < 49; ++y) {
    for (int x = 1; x < 59; ++x) {
      if (canvas->at(x, y) != kWhite) continue;
      bool side = contains(plain, x + 1, y) || contains(plain, x - 1, y) || contains(plain, x, y + 1) ||
                  contains(plain, x, y - 1);
      bool corner = contains(plain, x + 1, y + 1) || contains(plain, x - 1, y - 1) ||
                    contains(plain, x + 1, y - 1) || contains(plain, x - 1, y + 1);
      EXPECT_FALSE(side) << x << "," << y;
      if (corner) ++diagonalOnly;
    }
  }
  EXPECT_GT(diagonalOnly, 0) << "a glyph with curves has pixels touched only diagonally";
}

// The memos' line-by-line drawing against DrawTextW itself, outlined as the
// calendar draws them: the same pixels for every kind of line break, lines
// cut at the right and at the bottom, a rectangle upside down, and the texts
// DrawTextW reads otherwise.
TEST(GdiTextLines, DrawLinesInPaintsWhatDrawTextPaints) {
  const char* const texts[] = {
      "予定の一行目\r\n二行目のメモ\r\n三行目",
      "a\nb\rc\n\rd\r\re\n\nf",
      "ends in a break\r\n",
      "\r\nstarts with a break",
      "a line far longer than the rectangle is wide, cut at its right edge",
      "one\r\ntwo\r\nthree\r\nfour\r\nfive\r\nsix\r\nseven",
      "R&D &&  &x",
      "tab\there",
  };
  const RECT rects[] = {{6, 6, 150, 90}, {6, 6, 150, 21}, {6, 40, 150, 20}, {6, 6, 6, 90}};
  LOGFONTW plain{};
  plain.lfHeight = -12;
  plain.lfCharSet = SHIFTJIS_CHARSET;
  plain.lfQuality = DRAFT_QUALITY;
  wcscpy(plain.lfFaceName, L"ＭＳ ゴシック");
  LOGFONTW italic = plain;
  italic.lfHeight = -17;
  italic.lfItalic = TRUE;
  for (const LOGFONTW& description : {plain, italic}) {
    GdiObject<HFONT> font(CreateFontIndirectW(&description));
    for (const char* text : texts) {
      for (const RECT& rect : rects) {
        SCOPED_TRACE(std::string(text) + " in " + std::to_string(rect.right) + "x" + std::to_string(rect.bottom));
        ScreenText screen(text);
        auto draw = [&](bool byLines) {
          auto canvas = std::make_unique<Canvas>(160, 100);
          SelectGuard select(canvas->dc(), font.get());
          SetBkMode(canvas->dc(), TRANSPARENT);
          drawEffectText(canvas->dc(), 2, kOutline, kMain, [&](int dx, int dy) {
            RECT moved{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
            if (byLines) {
              drawLinesIn(canvas->dc(), screen, moved);
            } else {
              drawTextIn(canvas->dc(), screen, moved, DT_EXTERNALLEADING);
            }
          });
          return canvas;
        };
        auto expected = draw(false);
        auto drawn = draw(true);
        EXPECT_TRUE(drawn->pixels() == expected->pixels());
      }
    }
  }
  // Not a check that passes on a blank canvas: the text is drawn.
  Canvas canvas(160, 100);
  GdiObject<HFONT> font(CreateFontIndirectW(&plain));
  SelectGuard select(canvas.dc(), font.get());
  SetTextColor(canvas.dc(), kMain);
  drawLinesIn(canvas.dc(), ScreenText("abc\r\ndef"), RECT{6, 6, 150, 90});
  EXPECT_GT(canvas.pixelsOf(kMain).size(), 10u);
}

TEST(GdiGuards, RestoreWhatTheyReplacedAndFreeWhatTheyOwn) {
  MemoryDC memory(nullptr);
  HGDIOBJ original = GetCurrentObject(memory.get(), OBJ_PEN);
  HPEN pen = CreatePen(PS_SOLID, 1, kMain);
  {
    GdiObject<HPEN> owned(pen);
    SelectGuard select(memory.get(), owned.get());
    EXPECT_EQ(GetCurrentObject(memory.get(), OBJ_PEN), pen);
    EXPECT_EQ(select.previous(), original);
  }
  EXPECT_EQ(GetCurrentObject(memory.get(), OBJ_PEN), original);
  EXPECT_EQ(GetObjectType(pen), 0u) << "the pen was deleted";
  GdiObject<HBRUSH> moved(CreateSolidBrush(kMain));
  HBRUSH handle = moved.get();
  GdiObject<HBRUSH> target(std::move(moved));
  EXPECT_EQ(moved.get(), nullptr);
  EXPECT_EQ(target.get(), handle);
}

class FontsTest : public ::testing::Test {
 protected:
  FontsTest() : settings_(dir_.file("fonts.ini")) {}
  ~FontsTest() override { destroyFonts(); }
  testing_support::TempDir dir_;
  testing_support::SettingsFileOverride settings_;
};

TEST_F(FontsTest, FacesAreAskedForByTheirJapaneseNames) {
  testing_support::writeBytes(dir_.file("fonts.ini"), "[MEMO_FONT]\r\nFACE=ＭＳ 明朝\r\nHEIGHT=-13\r\n");
  createFonts(96);
  LOGFONTW asked{};
  ASSERT_NE(font(FontRole::Main), nullptr);
  GetObjectW(static_cast<HFONT>(font(FontRole::Main)), sizeof asked, &asked);
  EXPECT_STREQ(asked.lfFaceName, L"ＭＳ ゴシック");
  EXPECT_EQ(asked.lfHeight, -20);
  EXPECT_EQ(asked.lfCharSet, SHIFTJIS_CHARSET);
  GetObjectW(static_cast<HFONT>(font(FontRole::Memo)), sizeof asked, &asked);
  EXPECT_STREQ(asked.lfFaceName, L"ＭＳ 明朝");
  EXPECT_EQ(asked.lfHeight, -13);
  destroyFonts();
  EXPECT_EQ(font(FontRole::Title), nullptr);
  EXPECT_EQ(font(FontRole::Week), nullptr);
}

TEST(PictureBitmap, BmpAndJpegBecomeBitmapsOfTheirSize) {
  HDC screen = static_cast<HDC>(testing_support::screenDeviceContext());
  std::string data = std::string(SORVANE_TEST_DATA) + "/pictures/";
  loadPicture((data + "bmp8.bmp").c_str(), screen);
  ASSERT_NE(pictureBitmap(), nullptr);
  EXPECT_NE(picturePalette(), nullptr) << "an 8-bit picture brings its palette";
  BITMAP info{};
  GetObjectW(static_cast<HBITMAP>(pictureBitmap()), sizeof info, &info);
  EXPECT_EQ(info.bmWidth, pictureWidth());
  EXPECT_EQ(info.bmHeight, pictureHeight());

  loadPicture((data + "colour301.jpg").c_str(), screen);
  ASSERT_NE(pictureBitmap(), nullptr);
  EXPECT_EQ(picturePalette(), nullptr) << "a JPEG picture removes the palette";
  GetObjectW(static_cast<HBITMAP>(pictureBitmap()), sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 301);
  EXPECT_EQ(pictureWidth(), 301);

  // A file that cannot be opened keeps the picture on show.
  void* shown = pictureBitmap();
  loadPicture((data + "no-such-file.jpg").c_str(), screen);
  EXPECT_EQ(pictureBitmap(), shown);
  // A picture refused right after its header (CMYK) leaves it on show too.
  loadPicture((data + "cmyk.jpg").c_str(), screen);
  EXPECT_EQ(pictureBitmap(), shown);
  deletePictureBitmap();
  deletePicturePalette();
}

// The loaded picture's pixels as blue, green, red rows, top to bottom,
// read back from the bitmap through a 32-bit top-down DIB.
std::string shownPixels(HDC screen) {
  HBITMAP bitmap = static_cast<HBITMAP>(pictureBitmap());
  if (!bitmap) return {};
  const int width = pictureWidth(), height = pictureHeight();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> bits(static_cast<std::size_t>(width) * height);
  if (GetDIBits(screen, bitmap, 0, height, bits.data(), &info, DIB_RGB_COLORS) != height) return {};
  std::string out;
  for (std::uint32_t p : bits) {
    out += static_cast<char>(p & 0xFF);
    out += static_cast<char>((p >> 8) & 0xFF);
    out += static_cast<char>((p >> 16) & 0xFF);
  }
  return out;
}

TEST(PictureBitmap, EveryKindDrawnOnTheScreenShowsThePixelsConvertReads) {
  HDC screen = static_cast<HDC>(testing_support::screenDeviceContext());
  ASSERT_GE(GetDeviceCaps(screen, BITSPIXEL), 24) << "exact colours need a true-colour screen";
  const std::string data = std::string(SORVANE_TEST_DATA) + "/pictures/";
  // The run-length pictures are decoded by the system itself.
  for (const char* name : {"bmp1.bmp", "bmp4.bmp", "bmp8.bmp", "bmp24.bmp", "rle8.bmp", "rle4.bmp",
                           "bitfields565.bmp", "colour301.jpg", "rgb.jpg"}) {
    const std::string file(name);
    loadPicture((data + file).c_str(), screen);
    ASSERT_NE(pictureBitmap(), nullptr) << name;
    const std::string expected = testing_support::readBytes(data + file.substr(0, file.size() - 3) + "bgr");
    EXPECT_EQ(shownPixels(screen), expected) << name;
  }
  deletePictureBitmap();
  deletePicturePalette();
}

TEST(PictureBitmap, APictureHeldOpenForWritingStillLoads) {
  testing_support::TempDir dir;
  const std::string path = dir.file("held.bmp");
  testing_support::writeBytes(path, testing_support::readBytes(std::string(SORVANE_TEST_DATA) + "/pictures/bmp24.bmp"));
  // What a paint program that keeps its file open does.
  HANDLE writer = CreateFileW(sjisToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  HDC screen = static_cast<HDC>(testing_support::screenDeviceContext());
  loadPicture(path.c_str(), screen);
  EXPECT_NE(pictureBitmap(), nullptr);
  EXPECT_EQ(pictureWidth(), 301);
  CloseHandle(writer);
  deletePictureBitmap();
  deletePicturePalette();
}

class MemoPaintTest : public ::testing::Test {
 protected:
  MemoPaintTest() : settings_(dir_.file("paint.ini")) {}
  ~MemoPaintTest() override { destroyFonts(); }
  // The memo of a 40 x 50 cell at (0, 10), drawn with MAIN_FONT HEIGHT
  // `height`; returns the first row that shows memo colour, or -1.
  int firstMemoRow(const std::string& height) {
    // Memo text without smoothing, so that its pixels have exactly its colour.
    testing_support::writeBytes(dir_.file("paint.ini"), "[MAIN_FONT]\r\nHEIGHT=" + height +
                                                            "\r\n[MEMO_FONT]\r\nHEIGHT=-16\r\nQUALITY=3\r\n");
    appSettings().reload(testing_support::screenDeviceContext());
    destroyFonts();
    createFonts(96);
    DayCell cell;
    cell.day = 5;
    cell.memo = MemoText::copyOf("|||\r\n|||\r\n|||");
    cell.memoColor = kMain;
    Canvas canvas(40, 60);
    paintDayMemo(canvas.dc(), cell, 0, 10, 40, 50);
    std::vector<POINT> memo = canvas.pixelsOf(kMain);
    int top = -1;
    for (const POINT& p : memo)
      if (top < 0 || p.y < top) top = p.y;
    return top;
  }
  testing_support::TempDir dir_;
  testing_support::SettingsFileOverride settings_;
};

TEST_F(MemoPaintTest, ExtremeMainFontHeightsPaintNoMemoInsteadOfOverflowing) {
  const int normal = firstMemoRow("-24");
  EXPECT_GE(normal, 10 + 24) << "the memo starts below the configured number height";
  EXPECT_LT(normal, 60);
  // Taller than the cell: the memo rectangle is empty, nothing is drawn
  // (an offset that wrapped around would put the memo at the cell's top).
  EXPECT_EQ(firstMemoRow("-2147483648"), -1);
  EXPECT_EQ(firstMemoRow("2147483647"), -1);
  EXPECT_EQ(firstMemoRow("-32767"), -1);
}

}  // namespace
