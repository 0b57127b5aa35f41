#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

namespace dorvanel {

// Memory for the storage of a long list, zero-filled. Regions of 2 MiB and more are aligned to
// that size and asked to be backed by huge pages: a list of a hundred thousand documents writes
// some 25 MiB of fresh memory, and in pages of 4 KiB a third of its filling time goes to the
// kernel's page faults.
struct ListMemoryFree {
    void operator()(void* memory) const { std::free(memory); }
};
using ListMemory = std::unique_ptr<char, ListMemoryFree>;

ListMemory AllocateListMemory(std::size_t bytes);

}  // namespace dorvanel
