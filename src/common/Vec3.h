// Three 32-bit floats (x, y, z): positions, sizes and scales in virtual-screen units.
#pragma once

namespace qa {

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

}  // namespace qa
