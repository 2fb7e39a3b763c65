#include "platform/render/D3DX.h"

#include <cmath>
#include <utility>

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& other) const {
    D3DXMATRIX result;
    D3DXMatrixMultiply(&result, this, &other);
    return result;
}

bool D3DXMATRIX::operator==(const D3DXMATRIX& other) const {
    for (int i = 0; i < 16; ++i) {
        if ((&_11)[i] != (&other._11)[i]) return false;
    }
    return true;
}

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
    *out = D3DXMATRIX();
    out->_11 = out->_22 = out->_33 = out->_44 = 1.0f;
    return out;
}

bool D3DXMatrixIsIdentity(const D3DXMATRIX* m) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    return *m == identity;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b) {
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r(i, j) = (*a)(i, 0) * (*b)(0, j) + (*a)(i, 1) * (*b)(1, j) + (*a)(i, 2) * (*b)(2, j) +
                      (*a)(i, 3) * (*b)(3, j);
        }
    }
    *out = r;
    return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
    D3DXMatrixIdentity(out);
    out->_41 = x;
    out->_42 = y;
    out->_43 = z;
    return out;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float x, float y, float z) {
    *out = D3DXMATRIX();
    out->_11 = x;
    out->_22 = y;
    out->_33 = z;
    out->_44 = 1.0f;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* out, const D3DXVECTOR3* axis, float angle) {
    D3DXVECTOR3 n;
    D3DXVec3Normalize(&n, axis);
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float t = 1.0f - c;
    D3DXMatrixIdentity(out);
    out->_11 = t * n.x * n.x + c;
    out->_12 = t * n.x * n.y + s * n.z;
    out->_13 = t * n.x * n.z - s * n.y;
    out->_21 = t * n.x * n.y - s * n.z;
    out->_22 = t * n.y * n.y + c;
    out->_23 = t * n.y * n.z + s * n.x;
    out->_31 = t * n.x * n.z + s * n.y;
    out->_32 = t * n.y * n.z - s * n.x;
    out->_33 = t * n.z * n.z + c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle) {
    const D3DXVECTOR3 axis(0.0f, 0.0f, 1.0f);
    return D3DXMatrixRotationAxis(out, &axis, angle);
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m) {
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) r(i, j) = (*m)(j, i);
    }
    *out = r;
    return out;
}

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* m) {
    // Gauss-Jordan elimination with partial pivoting, in double precision.
    double a[4][8];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            a[i][j] = (*m)(i, j);
            a[i][j + 4] = i == j ? 1.0 : 0.0;
        }
    }
    double det = 1.0;
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 4; ++row) {
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) pivot = row;
        }
        if (a[pivot][col] == 0.0) {
            if (determinant) *determinant = 0.0f;
            return nullptr;
        }
        if (pivot != col) {
            for (int j = 0; j < 8; ++j) std::swap(a[pivot][j], a[col][j]);
            det = -det;
        }
        const double p = a[col][col];
        det *= p;
        for (int j = 0; j < 8; ++j) a[col][j] /= p;
        for (int row = 0; row < 4; ++row) {
            if (row == col) continue;
            const double f = a[row][col];
            for (int j = 0; j < 8; ++j) a[row][j] -= f * a[col][j];
        }
    }
    if (determinant) *determinant = static_cast<float>(det);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) (*out)(i, j) = static_cast<float>(a[i][j + 4]);
    }
    return out;
}

D3DXMATRIX* D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* out, float l, float r, float b, float t, float zn,
                                       float zf) {
    D3DXMatrixIdentity(out);
    out->_11 = 2.0f / (r - l);
    out->_22 = 2.0f / (t - b);
    out->_33 = 1.0f / (zf - zn);
    out->_41 = (l + r) / (l - r);
    out->_42 = (t + b) / (b - t);
    out->_43 = zn / (zn - zf);
    return out;
}

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v) {
    const float length = std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z);
    if (length == 0.0f) {
        *out = D3DXVECTOR3();
        return out;
    }
    *out = D3DXVECTOR3(v->x / length, v->y / length, v->z / length);
    return out;
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
    const float x = v->x * m->_11 + v->y * m->_21 + v->z * m->_31 + m->_41;
    const float y = v->x * m->_12 + v->y * m->_22 + v->z * m->_32 + m->_42;
    const float z = v->x * m->_13 + v->y * m->_23 + v->z * m->_33 + m->_43;
    const float w = v->x * m->_14 + v->y * m->_24 + v->z * m->_34 + m->_44;
    const float inv = w != 0.0f ? 1.0f / w : 1.0f;
    *out = D3DXVECTOR3(x * inv, y * inv, z * inv);
    return out;
}
