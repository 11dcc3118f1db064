#include "classlib/rtl/UnitInit.h"

#include <algorithm>
#include <vector>

namespace vcl {

namespace {

struct UnitEntry {
  TUnitGroup group;
  int rank;
  String name;
  TUnitProc initialize;
  TUnitProc finalize;
};

struct Registry {
  std::vector<UnitEntry> units;
  std::vector<UnitEntry> started;  // in start-up order
  bool initialized = false;
  bool running = false;
};

// Built on first use: registrations run during static initialisation, in any order.
Registry& Units() {
  static Registry registry;
  return registry;
}

bool Before(const UnitEntry& a, const UnitEntry& b) {
  if (a.group != b.group) return static_cast<int>(a.group) < static_cast<int>(b.group);
  if (a.rank != b.rank) return a.rank < b.rank;
  return CompareText(a.name, b.name) < 0;
}

void Start(Registry& r, const UnitEntry& unit) {
  if (unit.initialize) unit.initialize();
  r.started.push_back(unit);
}

}  // namespace

void RegisterUnit(TUnitGroup Group, int Rank, const wchar_t* Name, TUnitProc Initialize, TUnitProc Finalize) {
  Registry& r = Units();
  UnitEntry entry{Group, Rank, Name ? String(Name) : String(), Initialize, Finalize};
  r.units.push_back(entry);
  if (r.initialized && !r.running) Start(r, entry);
}

void InitializeUnits() {
  Registry& r = Units();
  if (r.initialized || r.running) return;
  r.running = true;
  std::vector<UnitEntry> order = r.units;
  std::stable_sort(order.begin(), order.end(), Before);
  try {
    for (const UnitEntry& unit : order) Start(r, unit);
  } catch (...) {
    r.running = false;
    r.initialized = true;
    FinalizeUnits();
    throw;
  }
  r.running = false;
  r.initialized = true;
}

void FinalizeUnits() {
  Registry& r = Units();
  if (!r.initialized) return;
  while (!r.started.empty()) {
    UnitEntry unit = r.started.back();
    r.started.pop_back();
    if (unit.finalize) {
      try {
        unit.finalize();
      } catch (...) {
        // A failing shutdown must not keep the others from running.
      }
    }
  }
  r.initialized = false;
}

bool UnitsInitialized() { return Units().initialized; }

std::vector<String> InitializedUnitNames() {
  std::vector<String> names;
  for (const UnitEntry& u : Units().started) names.push_back(u.name);
  return names;
}

}  // namespace vcl
