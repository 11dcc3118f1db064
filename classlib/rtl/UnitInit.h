// Unit start-up and shutdown. Each unit of the program that has work to do when the program
// starts or ends registers it here (a static TUnitRegistration in its source file); the
// program runs the start-ups in a fixed order (InitializeUnits) before anything else and the
// shutdowns in the opposite order at its end (FinalizeUnits).
//
// The order: the class library, then the layered skin engine (core, painting, the skin
// manager over both, forms, adapters), then the classic skin engine, then the program's own
// units; within a group by the unit's rank, then by name.
#pragma once

#include <vector>

#include "classlib/rtl/SysUtils.h"

namespace vcl {

enum class TUnitGroup : int {
  ClassLibrary = 0,
  LayeredCore = 10,
  LayeredPaint = 20,
  LayeredManager = 25,
  LayeredForms = 30,
  LayeredAdapters = 40,
  ClassicSkin = 50,
  Program = 60,
};

using TUnitProc = void (*)();

// Registers a unit; Initialize and Finalize may be null. Registering after start-up has run
// starts the unit at once (its shutdown still runs with the others').
void RegisterUnit(TUnitGroup Group, int Rank, const wchar_t* Name, TUnitProc Initialize, TUnitProc Finalize);

struct TUnitRegistration {
  TUnitRegistration(TUnitGroup Group, int Rank, const wchar_t* Name, TUnitProc Initialize, TUnitProc Finalize) {
    RegisterUnit(Group, Rank, Name, Initialize, Finalize);
  }
};

// Runs every registered start-up once, in order. A start-up that raises stops the sequence;
// the units started so far are shut down again and the exception goes on.
void InitializeUnits();
// Runs the shutdowns of the started units in reverse order (each at most once).
void FinalizeUnits();
bool UnitsInitialized();
// The names of the started units, in start-up order (for tests and diagnostics).
std::vector<String> InitializedUnitNames();

// A unit whose registration lies in a source file of a static library reaches a program only
// when the program names something of that file; a form description may name a class that no
// code does. VCL_UNIT_LINKED(Name), once in that source file, marks it, and
// scrivane_link_unit(<library> Name) in the library's CMakeLists makes every program that
// links the library link the file, and so start the unit.
#define VCL_UNIT_LINKED(Name) extern "C" const char vcl_unit_##Name = 0

// Starts the units for a scope (the program's entry point) and shuts them down at its end.
class TUnitsScope {
 public:
  TUnitsScope() { InitializeUnits(); }
  ~TUnitsScope() { FinalizeUnits(); }
  TUnitsScope(const TUnitsScope&) = delete;
  TUnitsScope& operator=(const TUnitsScope&) = delete;
};

}  // namespace vcl
