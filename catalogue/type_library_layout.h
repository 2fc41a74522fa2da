// A first look at a type library's bytes before the system's reader gets them: the tables
// that the file's directory lists must lie inside the file. The system's reader trusts them,
// and a cut or damaged file can take the whole process down with it.
#pragma once
#include <cstddef>
#include <cstdint>

namespace corvane {

// False for a library in the common binary format whose header, directory or tables run past
// its end; true for one that is sound so far, and for any other format (the reader's to judge).
bool TypeLibLayoutSound(const std::uint8_t* data, std::size_t size);

}  // namespace corvane
