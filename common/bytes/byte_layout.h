// How a binary record is described once for reading and writing: a sync
// function names each field in file order, and runs over either side.
#pragma once

#include <concepts>
#include <type_traits>

namespace zeku {

// A layout is a function template
//
//     template <typename Io, RecordOf<PackHeader> Header>
//     void syncPackHeader(Io& io, Header& header) {
//         io.bytes(header.magic);
//         io.le32(header.entryCount);
//         ...
//     }
//
// Over a ByteReader it fills the record from bytes, over a ByteWriter it
// turns the record into bytes, so the two directions cannot drift apart.
// Writers pass the record const; readers must not, and the reader's
// non-const field parameters also refuse a field of the wrong width.
template <typename Record, typename Layout>
concept RecordOf = std::same_as<std::remove_const_t<Record>, Layout>;

}  // namespace zeku
