// How the process keeps the memory it frees.
#pragma once

namespace qv {

// Keeps memory freed by one command for the next instead of handing it back
// to the system at once. A command on a long proof frees and asks again for
// buffers of megabytes (the proof text, its view, the undo snapshot); handed
// back each time, every page of them faults in afresh on the next command,
// which on a proof of 20,000 statements cost a third of a deletion. Called
// once, at the start of the program.
void KeepFreedMemory();

}  // namespace qv
