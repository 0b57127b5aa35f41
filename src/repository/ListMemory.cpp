#include "repository/ListMemory.h"

#include "platform/Error.h"

#include <cstring>
#include <new>

#include <sys/mman.h>

namespace dorvanel {

namespace {
constexpr std::size_t HugePage = 2 * 1024 * 1024;
}  // namespace

ListMemory AllocateListMemory(std::size_t bytes) {
    const bool huge = bytes >= HugePage;
    const std::size_t size = huge ? (bytes + HugePage - 1) / HugePage * HugePage : bytes;
    void* memory = huge ? std::aligned_alloc(HugePage, size) : std::malloc(size);
    if (!memory) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    if (huge) madvise(memory, size, MADV_HUGEPAGE);  // only advice: without huge pages it works all the same
#endif
    std::memset(memory, 0, size);
    return ListMemory(static_cast<char*>(memory));
}

}  // namespace dorvanel
