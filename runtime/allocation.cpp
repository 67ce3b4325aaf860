// The global allocation functions of each shipped module, on the C runtime's
// heap. The library's versions throw std::bad_alloc, and throwing drags the
// whole unwinder, its locks and the name demangler into a DLL that never
// catches anything: an exhausted heap ends the process here just as an
// uncaught exception did. Every module links its own copy and all of them use
// msvcrt's one heap, so an object made in one module may be deleted in another.
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

void* Allocate(std::size_t size) {
  if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
  std::abort();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
