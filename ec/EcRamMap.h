#pragma once

// Offsets of the bytes the program uses in the EC RAM block, wherever the
// probe found it: EcAccess::ReadRamByte and WriteRamByte take them.
constexpr int POWER_LEVEL_OFFSET = 0x30;   // read: power level 1, 2 or 3
constexpr int LED_CLEAR_OFFSET = 0xBD;   // written 0x00 ahead of every mode value
constexpr int LED_MODE_OFFSET = 0xF6;   // written: the keyboard light mode (LedMode)
