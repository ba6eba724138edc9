#pragma once
// Where the machine's back-office settings are kept on this platform, as the operator
// would look for them. One source file per platform, chosen in CMake.
#include <QString>

// A noun phrase for messages: "settings file <hive file>" where hive files stand in
// for the registry, "settings key <key as the registry editor shows it>" on Windows.
QString MachineSettingsPlace();

// The machine's back-office key as the registry editor shows it, so that every key a
// message names below it can be found there as written.
QString MachineKeyName();
