#pragma once

#include <string>

// The machine identifier reported with usage statistics: 64 lower-case hex digits, the SHA-256 of
// the machine GUID the system keeps (of the system volume's serial number when there is none).
// The same on every run and for every user of the machine, and nothing personal: the GUID is
// random and only its salted hash leaves the machine. Empty when neither source can be read.
std::wstring GetMachineId();

// The machine GUID as the system stores it; empty when there is none.
std::wstring ReadMachineGuid();
