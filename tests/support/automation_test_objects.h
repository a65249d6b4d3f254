// Automation objects for tests and the script runner: "KestrinTest.Sheet" (properties,
// a parameterised property, a default member, methods and one event) and
// "KestrinTest.Collection" (an enumerable collection of "a", "b", "c").
#pragma once

#include <cstdint>

namespace kestrin::test {

// Registers both ProgIDs (again: harmless).
void RegisterAutomationTestObjects();
// Number of GetIDsOfNames calls the test objects have answered in this process.
int64_t AutomationNameLookups();

}  // namespace kestrin::test
