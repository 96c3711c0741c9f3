#include "game/spring_lattice.h"

#include <algorithm>
#include <climits>

namespace {

struct Vec64 {
  i64 x = 0;
  i64 y = 0;
};

// Results that only leave the 32-bit range for absurd inputs are pinned to
// its ends rather than wrapped.
i32 Saturate(i64 v) {
  return static_cast<i32>(std::clamp<i64>(v, INT32_MIN, INT32_MAX));
}

// The squared length of a 24.8 vector in 24.8: each square shifted right by 8.
i64 LengthSq(i64 x, i64 y) { return ((x * x) >> 8) + ((y * y) >> 8); }

i64 ClearLowByte(i64 v) { return v & ~static_cast<i64>(0xff); }

i64 Sign(i64 v, i64 len) { return v < 0 ? -len : len; }

// ClampSpeed in 64 bits, so the push of a very close ball cannot overflow.
Vec64 ClampSpeed64(Vec64 v, i64 len) {
  if (v.x == 0) return {0, v.y <= 0 ? -len : len};
  if (v.y == 0) return {Sign(v.x, len), 0};
  const i64 ax = v.x < 0 ? -v.x : v.x;
  const i64 ay = v.y < 0 ? -v.y : v.y;
  if (ax <= ay) return {ClearLowByte(v.x * len) / ay, Sign(v.y, len)};
  return {Sign(v.x, len), ClearLowByte(len * v.y) / ax};
}

constexpr i64 kNearLimitSq = 409600;  // 40 px, squared in 24.8
constexpr i64 kPushFactor = 0x3e800;  // speed x 1000
constexpr i32 kOne = 256;

}  // namespace

void LatticeNode::Reset() {
  x = restX;
  y = restY;
  forceX = forceY = 0;
  vx = vy = 0;
}

SpringLattice::SpringLattice() = default;

LatticeVec SpringLattice::ClampSpeed(LatticeVec v, i32 len) {
  const Vec64 r = ClampSpeed64({v.x, v.y}, len);
  return {Saturate(r.x), Saturate(r.y)};
}

LatticeNode* SpringLattice::Partner(int r, int c, int kind) {
  const bool even = (r & 1) == 0;
  int pr = r + 1, pc = c;
  if (kind == kBelowLeft) {
    pc = even ? c : c - 1;
  } else if (kind == kBelowRight) {
    pc = even ? c + 1 : c;
  } else {
    pr = r;
    pc = c + 1;
  }
  if (pr < 0 || pr >= rows_ || pc < 0 || pc >= columns_) return nullptr;
  return &nodes_[pr][pc];
}

void SpringLattice::Build(i32 x0, i32 y0, i32 dx, i32 dy, int columns, int rows) {
  rows_ = static_cast<i16>(std::clamp(rows + 2, 0, kRows));
  columns_ = static_cast<i16>(std::clamp(columns + 2, 0, kColumns));
  for (int r = 0; r < rows_; ++r) {
    const i32 startX = (r & 1) == 0 ? x0 - dx / 2 : x0 - dx;
    const i32 y = y0 - dy + r * dy;
    for (int c = 0; c < columns_; ++c) {
      LatticeNode& n = nodes_[r][c];
      n = LatticeNode{};
      n.restX = startX + c * dx;
      n.restY = y;
      n.Reset();
    }
  }
  for (int r = 0; r < rows_; ++r) {
    for (int c = 0; c < columns_; ++c) {
      LatticeNode& n = nodes_[r][c];
      for (int k = 0; k < 3; ++k) {
        const LatticeNode* p = Partner(r, c, k);
        if (p == nullptr) continue;
        n.restLengthSq[k] = Saturate(LengthSq(i64{p->restX} - n.restX, i64{p->restY} - n.restY));
      }
    }
  }
}

void SpringLattice::SpringForce(LatticeNode& a, const LatticeNode& b, int kind) {
  const i64 dx = i64{b.x} - a.x;
  const i64 dy = i64{b.y} - a.y;
  const i64 e = LengthSq(dx, dy) - a.restLengthSq[kind];
  a.link[kind].x = Saturate((((2 * dx) >> 8) * e) >> 8);
  a.link[kind].y = Saturate((((2 * dy) >> 8) * e) >> 8);
}

// Marks the nodes around the ball's cell; the window is taken from the cell
// row and column as the flight computes them.
void SpringLattice::MarkNear(i32 ballX, i32 ballY) {
  for (int r = 1; r < rows_ - 1; ++r) {
    for (int c = 1; c < columns_ - 1; ++c) nodes_[r][c].near = 0;
  }
  const i64 row = ((i64{ballY} - 6 * kOne) * 256 / (18 * kOne)) >> 8;
  const i64 left = (row & 1) == 0 ? 6 * kOne : 16 * kOne;
  const i64 col = ((i64{ballX} - left) * 256 / (20 * kOne)) >> 8;
  const i64 r0 = std::max<i64>(1, row - 2), r1 = std::min<i64>(kRows - 1, row + 2);
  const i64 c0 = std::max<i64>(1, col - 3), c1 = std::min<i64>(kColumns - 1, col + 3);
  for (i64 r = r0; r <= r1 && r < rows_; ++r) {
    for (i64 c = c0; c < c1 && c < columns_; ++c) nodes_[r][c].near = 1;
  }
}

// The node's own link forces less those of the three links ending at it.
void SpringLattice::NodeForce(int r, int c, i64& fx, i64& fy) const {
  const LatticeNode& n = nodes_[r][c];
  const LatticeVec& left = nodes_[r][c - 1].link[kRight];
  const bool even = (r & 1) == 0;
  const LatticeVec& upRight = even ? nodes_[r - 1][c].link[kBelowRight]
                                   : nodes_[r - 1][c - 1].link[kBelowRight];
  const LatticeVec& upLeft = even ? nodes_[r - 1][c + 1].link[kBelowLeft]
                                  : nodes_[r - 1][c].link[kBelowLeft];
  fx = i64{n.link[0].x} + n.link[1].x + n.link[2].x - left.x - upRight.x - upLeft.x;
  fy = i64{n.link[0].y} + n.link[1].y + n.link[2].y - left.y - upRight.y - upLeft.y;
}

// Applies the force to one node: a hundredth of it is added to the
// velocity, which is limited to 1 px and damped to three quarters; a node
// that has nearly stopped near its rest point snaps there.
void SpringLattice::MoveNode(LatticeNode& n, i64 fx, i64 fy) {
  fx = fx * 256 / 25600;
  fy = fy * 256 / 25600;
  Vec64 v{n.vx + fx, n.vy + fy};
  if (LengthSq(v.x, v.y) > kOne) v = ClampSpeed64(v, kOne);
  v.x = (v.x * 192) >> 8;
  v.y = (v.y * 192) >> 8;
  n.vx = static_cast<i32>(v.x);
  n.vy = static_cast<i32>(v.y);
  n.x += n.vx;
  n.y += n.vy;
  n.forceX = Saturate(fx);
  n.forceY = Saturate(fy);

  const i64 dx = i64{n.restX} - n.x;
  const i64 dy = i64{n.restY} - n.y;
  if (fx * fx + fy * fy < 10 && v.x * v.x + v.y * v.y < 100) {
    if (dx * dx + dy * dy < 1001) {
      n.x = n.restX;
      n.y = n.restY;
      n.vx = n.vy = 0;
    } else {
      n.vx = static_cast<i32>(dx * 256 / 2560);
      n.vy = static_cast<i32>(dy * 256 / 2560);
    }
  }
}

void SpringLattice::Step(i32 ballX, i32 ballY, i32 speed, u8 flying) {
  const i64 push = i64{speed} * kPushFactor >> 8;
  if (flying) MarkNear(ballX, ballY);

  // Every link first, so all nodes move on the forces of the same instant.
  for (int r = 0; r < rows_ - 1; ++r) {
    for (int c = 0; c < columns_; ++c) {
      for (int k = 0; k < 3; ++k) {
        const LatticeNode* p = Partner(r, c, k);
        if (p != nullptr) SpringForce(nodes_[r][c], *p, k);
      }
    }
  }

  for (int r = 1; r < rows_ - 1; ++r) {
    for (int c = 1; c < columns_ - 1; ++c) {
      LatticeNode& n = nodes_[r][c];
      if (!n.occupied) continue;
      i64 fx, fy;
      NodeForce(r, c, fx, fy);
      if (flying && n.near) {
        // The ball pushes the node away, harder the closer it is.
        const i64 dx = i64{ballX} - n.x;
        const i64 dy = i64{ballY} - n.y;
        const i64 e = LengthSq(dx, dy);
        if (e > 0 && e <= kNearLimitSq) {
          const Vec64 d = ClampSpeed64({dx, dy}, kOne);
          const i64 m = push * 256 / e;
          fx -= (((d.x * m) >> 8) * 2560) >> 8;
          fy -= (((d.y * m) >> 8) * 2560) >> 8;
        }
      }
      MoveNode(n, fx, fy);
    }
  }
}

void SpringLattice::KickNeighbours(int r, int c) {
  if (r < 0 || r >= rows_ || c < 0 || c >= columns_) return;
  static const int kEven[6][2] = {{0, -1}, {0, 1}, {-1, 0}, {-1, 1}, {1, 0}, {1, 1}};
  static const int kOdd[6][2] = {{0, -1}, {0, 1}, {-1, -1}, {-1, 0}, {1, -1}, {1, 0}};
  const int(*offsets)[2] = (r & 1) == 0 ? kEven : kOdd;
  const LatticeNode& burst = nodes_[r][c];
  for (int i = 0; i < 6; ++i) {
    const int nr = r + offsets[i][0], nc = c + offsets[i][1];
    if (nr < 1 || nr > rows_ - 1 || nc < 1 || nc > columns_ - 2) continue;
    LatticeNode& n = nodes_[nr][nc];
    const LatticeVec v = ClampSpeed({n.x - burst.restX, n.y - burst.restY}, kOne / 2);
    n.vx = v.x;
    n.vy = v.y;
  }
}
