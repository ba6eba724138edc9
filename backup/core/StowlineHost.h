#pragma once
// How this platform hosts the backup component: the apartment the calling thread
// joins and the factory of controls. One implementation per platform, chosen in CMake.
#include "backup/core/Stowline_TLB.h"

#include <memory>

// Joins the calling thread to the component's apartment; each call is paired with one leave.
void StowlineApartmentEnter();
void StowlineApartmentLeave();

// A new control of the class; owner, when given, is the window that owns it.
// Raises EPosError when the component cannot provide the control.
std::unique_ptr<IStowlineControl> CreateStowlineControl(TStowlineClass control, QWidget *owner);
