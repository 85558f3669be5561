// Shared set-up for the play tests: a started game (start-up run in a
// scratch folder holding small pictures of our own, each cell a flat colour
// that names it) and helpers to lay out Boards and read the screen.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "flow/globals.h"
#include "flow/startup.h"
#include "play/board.h"
#include "play/play.h"
#include "platform/bitmap_file.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "tests/test_support.h"
#include "tests/platform/wave_builder.h"

namespace playtest {

// Every cell of every test sheet has one colour, so a pixel tells which
// image was drawn there.
constexpr Colour JewelColour(int kind) { return MakeColour(20 + kind, 120, 220); }
constexpr Colour ExplosionColour(int frame) { return MakeColour(220, 30 + frame, 90); }
constexpr Colour LargeGlyphColour(int n) { return MakeColour(n, 60, 160); }
constexpr Colour SmallGlyphColour(int n) { return MakeColour(n, 70, 170); }
constexpr Colour SheetGapColour = MakeColour(255, 0, 255);  // never cut
constexpr Colour GetReadyColour = MakeColour(200, 30, 30);

inline void WriteSheet(const std::filesystem::path& file, int width, int height, int pitchX, int pitchY,
                       int cellW, int cellH, Colour (*colourOf)(int n)) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height),
                               platform::ColourToPixel(SheetGapColour));
  int across = width / pitchX;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (x % pitchX >= cellW || y % pitchY >= cellH) continue;
      int n = (y / pitchY) * across + (x / pitchX);
      pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
          platform::ColourToPixel(colourOf(n));
    }
  }
  ASSERT_TRUE(platform::WriteBitmap24(file.string(), pixels.data(), width, height));
}

// Runs play frames (Left held by the caller) and returns the times the
// piece moved: each move one column to the left, to that column's place.
inline std::vector<int64_t> LeftMovesOver(int frames) {
  std::vector<int64_t> moves;
  int column = static_cast<int>((G.PieceX - static_cast<float>(WellLeft)) / CellSize);
  while (frames-- > 0) {
    RunPlayFrame();
    if (G.PieceColumn == column) continue;
    EXPECT_EQ(G.PieceColumn, column - 1);
    column = G.PieceColumn;
    EXPECT_EQ(G.PieceX, static_cast<float>(CellScreenX(column)));
    moves.push_back(ElapsedMs());
  }
  return moves;
}

inline void WriteTestAssets(const std::filesystem::path& dir) {
  namespace fs = std::filesystem;
  fs::create_directories(dir / "graphics");
  fs::create_directories(dir / "Sound");
  // Cell n of the jewel and explosion strips is image n.
  WriteSheet(dir / "graphics/Jewels.bmp", 224, 32, 32, 32, 32, 32, [](int n) { return JewelColour(n); });
  WriteSheet(dir / "graphics/explosion32.bmp", 352, 32, 32, 32, 32, 32, [](int n) { return ExplosionColour(n); });
  // Glyph cells, numbered from 1 like the glyphs.
  WriteSheet(dir / "graphics/font.bmp", 352, 128, 32, 32, 32, 28, [](int n) { return LargeGlyphColour(n + 1); });
  WriteSheet(dir / "graphics/BKF-FONT.bmp", 320, 48, 16, 16, 16, 16, [](int n) { return SmallGlyphColour(n + 1); });
  WriteSheet(dir / "graphics/GetReady.bmp", 226, 38, 226, 38, 226, 38, [](int) { return GetReadyColour; });
  for (const char* name : {"Stakko.wav", "Nu Battle.wav", "Explosion.wav", "Drop.wav", "HighScore.wav", "awwww.wav"})
    WriteBytes(dir / "Sound" / name, testwave::Wave8(testwave::Bytes(64, 128)));  // short, silent
}

}  // namespace playtest

// The game after start-up, with the test pictures loaded and a fresh game
// dealt, ready for RunPlayFrame.
class PlayTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    playtest::WriteTestAssets(dir.path());
    StartUp();
    DealFirstPiece();
    backend.traceLines.clear();
    G.CurrentState = StatePlaying;
  }

  // Lays out the well from text rows, top row first, ending at row 12;
  // '.' is empty, '1'..'6' a jewel kind.
  static void SetBoard(const std::vector<std::string>& rows) {
    for (auto& column : G.Board)
      for (auto& cell : column) cell = 0;
    int row = BoardRows - static_cast<int>(rows.size());
    for (const std::string& text : rows) {
      for (int x = 0; x < BoardColumns && x < static_cast<int>(text.size()); ++x)
        G.Board[x][row] = text[static_cast<size_t>(x)] == '.' ? 0 : text[static_cast<size_t>(x)] - '0';
      ++row;
    }
  }

  // The well as text rows 1 to 12, as SetBoard takes it.
  static std::vector<std::string> BoardRowsText() {
    std::vector<std::string> rows;
    for (int y = 1; y < BoardRows; ++y) {
      std::string text;
      for (int x = 0; x < BoardColumns; ++x) text += G.Board[x][y] == 0 ? '.' : static_cast<char>('0' + G.Board[x][y]);
      rows.push_back(text);
    }
    return rows;
  }

  static void SetPiece(int top, int middle, int bottom) {
    G.Piece[0] = top;
    G.Piece[1] = middle;
    G.Piece[2] = bottom;
  }

  // Trace lines whose event (after the "t= f=" prefix) starts with word.
  std::vector<std::string> Events(const std::string& word) const {
    std::vector<std::string> found;
    for (const std::string& line : backend.traceLines) {
      size_t at = line.find(' ', line.find(" f=") + 1);
      std::string event = at == std::string::npos ? line : line.substr(at + 1);
      if (event.rfind(word, 0) == 0) found.push_back(event);
    }
    return found;
  }

  Colour Pixel(int x, int y) const { return backend.LastFramePixel(x, y); }

  ScopedWorkDir dir;
};
