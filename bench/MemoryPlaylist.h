#pragma once

// The generated playlist as the player's track handles, held in memory and
// formatted by the host's engine, and the reference the playlist benchmarks
// measure against: the host's plain formatting of patterns over them.

#include "metadb_handle.h"
#include "titleformat.h"

#include <cstddef>
#include <initializer_list>

metadb_handle_list generatedHandles(std::size_t count);

// Every pattern over every track, each into a string and nothing more; the
// total length, to keep the work observable.
std::size_t formatPlainly(const metadb_handle_list& tracks,
                          std::initializer_list<service_ptr_t<titleformat_object>> patterns);
