#pragma once
// Makes "USB1" a simulated instrument that holds the readings of a DZL file, so the
// whole transfer can be tried without hardware.
#include <optional>
#include <string>

namespace ohmlet {

// The environment variable that does the same as UseSimulatedUsb.
inline constexpr char kSimulateUsbVariable[] = "OHMLET_SIMULATE_USB";

// From now on MakeCh375 gives the simulated instrument serving dzlPath's readings.
void UseSimulatedUsb(const std::string& dzlPath);
// The file the simulated instrument serves: UseSimulatedUsb's, else the variable's.
std::optional<std::string> SimulatedUsbSource();

}  // namespace ohmlet
