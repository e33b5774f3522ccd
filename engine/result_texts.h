// The nine result texts of a converged calculation, exactly as the window shows
// them: FormatNumber of each value with its mask, then its unit suffix. The
// window and the command-line calculator both take their texts from here.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "thread_solver.h"

// The result fields, in the order the window writes them.
enum class ResultField {
    ActualDistance,
    ActualNewDistance,
    Pitch,
    Lead,
    LeadAngle,
    BestWireDiameter,
    DistanceOverWires,
    NewDistance,
    KeyAngle,
};

inline constexpr int kResultFieldCount = 9;

// How one result field is made and named.
struct ResultFieldFormat {
    ResultField field;
    std::string_view name;    // the ThreadResults name ("bestWireDiameter")
    std::string_view label;   // the label a machinist reads ("Best wire diameter")
    std::string_view mask;    // kMaskLength or kMaskDegrees
    std::string_view suffix;  // " in.", "in." or " deg."
};

// The nine fields in write order.
extern const std::array<ResultFieldFormat, kResultFieldCount> kResultFieldFormats;

// The value a field shows: lengths as computed, the two angles in degrees.
long double ResultFieldValue(const ThreadResults& results, ResultField field);

// The texts of the nine fields in write order (indexed by ResultField). The two
// actual-wire texts are empty when the calculation had no actual wire, so that
// figures of an earlier calculation do not stay on screen.
std::array<std::string, kResultFieldCount> FormatResultFields(const ThreadResults& results);
