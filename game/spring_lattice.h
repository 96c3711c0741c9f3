// The spring-mass lattice under the board: one node per cell plus a ring of
// fixed border nodes, linked into the triangular mesh of the hexagonal grid.
// The flying shot ball pushes nodes aside, bursts kick them outward and the
// springs pull every ball back to its rest point. All arithmetic is 24.8
// fixed point with shifts; the results are replayed bit for bit.
#pragma once

#include "platform/types.h"

struct LatticeVec {
  i32 x = 0;
  i32 y = 0;
};

struct LatticeNode {
  i32 restX = 0, restY = 0;
  i32 x = 0, y = 0;
  i32 forceX = 0, forceY = 0;  // the sum computed in the last step
  i32 vx = 0, vy = 0;
  LatticeVec link[3];     // force of each owned link, kinds 0..2
  i32 restLengthSq[3]{};  // squared rest length of each owned link (px², 24.8)
  u8 near = 0;            // set while the flying ball is close
  u8 occupied = 0;        // colour of the cell's ball, 0 when empty

  // Back at the rest point with no force and no velocity.
  void Reset();
};

class SpringLattice {
 public:
  static constexpr int kRows = 28;  // 26 board rows and the border ring
  static constexpr int kColumns = 24;

  // Link kinds: 0 to the node below-left, 1 below-right, 2 to the right.
  enum LinkKind { kBelowLeft = 0, kBelowRight = 1, kRight = 2 };

  SpringLattice();

  // Lays the nodes out for a grid of columns x rows cells whose first cell
  // centre is (x0, y0) and whose pitch is (dx, dy), all 24.8; takes the rest
  // lengths of every link from the rest points.
  void Build(i32 x0, i32 y0, i32 dx, i32 dy, int columns, int rows);
  // One step; the ball (position in 24.8, speed in 24.8 px per tick) pushes
  // nearby nodes only while flying.
  void Step(i32 ballX, i32 ballY, i32 speed, u8 flying);
  // A ball burst at node (r, c): its six neighbours fly outward at 0.5 px.
  void KickNeighbours(int r, int c);
  // Stores in a the force of a's link of the given kind toward b.
  static void SpringForce(LatticeNode& a, const LatticeNode& b, int kind);
  // Scales v so that its larger component has length len, keeping its
  // direction; the zero vector points up.
  static LatticeVec ClampSpeed(LatticeVec v, i32 len);

  LatticeNode& Node(int r, int c) { return nodes_[r][c]; }
  const LatticeNode& Node(int r, int c) const { return nodes_[r][c]; }
  // The node under board cell (row, col).
  LatticeNode& CellNode(int row, int col) { return nodes_[row + 1][col + 1]; }
  int Rows() const { return rows_; }
  int Columns() const { return columns_; }

 private:
  // The partner of node (r, c)'s link of the given kind, or null when it
  // lies outside the lattice.
  LatticeNode* Partner(int r, int c, int kind);
  void MarkNear(i32 ballX, i32 ballY);
  void NodeForce(int r, int c, i64& fx, i64& fy) const;
  void MoveNode(LatticeNode& n, i64 fx, i64 fy);

  LatticeNode nodes_[kRows][kColumns];
  i16 columns_ = kColumns;
  i16 rows_ = kRows;
};
