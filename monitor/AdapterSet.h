#pragma once

#include <cstdint>
#include <set>

// The physical network adapters whose traffic the monitor counts, by permanent hardware address: six address
// bytes in the low bytes of the key (first byte lowest), the top two zero.
using AdapterSet = std::set<uint64_t>;

// The key of a hardware address of `length` bytes (at most six are taken).
uint64_t AdapterKey(const unsigned char* address, unsigned length);

// Fills the set with the present PCI and USB network adapters that answer the permanent-address query;
// false only when the device list cannot be obtained.
bool BuildAdapterSet(AdapterSet* set);
