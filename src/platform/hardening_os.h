#pragma once

// What HardenProcess does on this system; per system: hardening_unix.cpp, _win.cpp.
void HardenThisSystem();
