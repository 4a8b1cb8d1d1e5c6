#pragma once

namespace strumlet {

struct LockKeyState {
  bool caps = false;
  bool num = false;
  bool scroll = false;
};

// The keyboard's lock indicators; all off where the display cannot tell (Wayland, offscreen).
LockKeyState ReadLockKeys();

}  // namespace strumlet
