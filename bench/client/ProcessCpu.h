#pragma once
// This process's CPU time so far, in milliseconds (under Wine without the Wine
// server's share).
double processCpuMs();
