// A window, on a connection of its own, that shows an ARGB cursor: what the
// layout program does over a placed picture.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace testing_support {

// A cursor image: width * height premultiplied ARGB values, row by row.
struct ArgbCursor {
  int width = 16;
  int height = 16;
  int hot_x = 0;
  int hot_y = 0;
  std::vector<std::uint32_t> pixels;
};

// A 16 × 16 cursor whose pixels are all different: the alpha of pixel
// (row, column) is 16 * row + column, the colours premultiplied below it.
ArgbCursor graded_cursor();

class CursorWindow {
 public:
  CursorWindow();
  ~CursorWindow();
  // Maps a window at (x, y) of the given size on the current DISPLAY with
  // the cursor on it. False when the display or XRender is missing.
  bool show(const ArgbCursor& cursor, int x, int y, int size);

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

}  // namespace testing_support
