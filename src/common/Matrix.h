// A 4 x 4 transformation matrix (row vectors, as the sprite uses it).
#pragma once

#include "common/Vec3.h"

namespace qa {

struct Matrix {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    // Scales per axis, then translates; either may be absent.
    static Matrix transformation(const Vec3* scaling, const Vec3* translation) {
        Matrix r;
        if (scaling) {
            r.m[0][0] = scaling->x;
            r.m[1][1] = scaling->y;
            r.m[2][2] = scaling->z;
        }
        if (translation) {
            r.m[3][0] = translation->x;
            r.m[3][1] = translation->y;
            r.m[3][2] = translation->z;
        }
        return r;
    }

    // The point p (w = 1) transformed.
    Vec3 apply(const Vec3& p) const {
        return {p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0],
                p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
                p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2]};
    }
};

}  // namespace qa
