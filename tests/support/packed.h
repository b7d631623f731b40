// Fields of the packed records (FSSpec, FInfo, the preferences record) in
// checks: a 4-byte field there may sit on a 2-byte boundary, and binding a
// reference to it (as EXPECT_EQ does) is undefined, so checks read a copy.
#pragma once

namespace testing_support {

template <typename T>
T packed(T field) {
  return field;
}

}  // namespace testing_support
