// Slabs (see SlabPool) mapped and faulted in on threads of their own while
// a command fills the ones it has. A fresh slab's pages are zeroed by the
// system as they are faulted in; a network of ten thousand pipes fills some
// forty slabs, and on the command's thread that zeroing was a third of
// reading the network. A few slabs stand ready at a time; none once the
// slabs are given back, so nothing waits in them between commands.
#pragma once

#include <cstddef>

// Whether slabs stand ready or are being made, and how many stand ready:
// for tests.
struct SlabsAheadState {
  bool filling = false;
  size_t ready = 0;
};
SlabsAheadState SlabsAheadNow();

// Starts making slabs for a command about to read a network, before it
// asks for the first: the host's selection and the user's pick take the
// time the first few take to make. ReleaseSlabsAhead ends it, whether or
// not the command read anything.
void PrepareSlabsAhead();

// Lets the slabs standing ready go and stops making more until a command
// asks for a slab again. Called as pools and arenas give their slabs back,
// and at the end of every command that reads records.
void ReleaseSlabsAhead();
