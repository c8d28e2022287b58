#pragma once

// Whether this is the Windows program running under Wine, which keeps no access list a
// program sets on a file it has just created: what depends on the lists being kept is
// told apart by this. False on every other system.
bool UnderWine();
