// The nine result texts, made one way for the window and the command line.

#include "result_texts.h"

#include "format_number.h"

// Suffixes: lengths take " in.", the two actual-wire distances "in." with no
// blank (as the window has always shown them), angles " deg.".
const std::array<ResultFieldFormat, kResultFieldCount> kResultFieldFormats = {{
    {ResultField::ActualDistance, "actualDistance", "Actual distance", kMaskLength, "in."},
    {ResultField::ActualNewDistance, "actualNewDistance", "Actual new distance", kMaskLength, "in."},
    {ResultField::Pitch, "pitch", "Pitch", kMaskLength, " in."},
    {ResultField::Lead, "lead", "Lead", kMaskLength, " in."},
    {ResultField::LeadAngle, "leadAngle", "Lead angle", kMaskDegrees, " deg."},
    {ResultField::BestWireDiameter, "bestWireDiameter", "Best wire diameter", kMaskLength, " in."},
    {ResultField::DistanceOverWires, "distanceOverWires", "Distance over wires", kMaskLength, " in."},
    {ResultField::NewDistance, "newDistance", "New distance", kMaskLength, " in."},
    {ResultField::KeyAngle, "keyAngle", "Key angle", kMaskDegrees, " deg."},
}};

long double ResultFieldValue(const ThreadResults& results, ResultField field)
{
    switch (field) {
    case ResultField::ActualDistance: return results.actualDistance;
    case ResultField::ActualNewDistance: return results.actualNewDistance;
    case ResultField::Pitch: return results.pitch;
    case ResultField::Lead: return results.lead;
    case ResultField::LeadAngle: return RadiansToDegrees(results.leadAngle);
    case ResultField::BestWireDiameter: return results.bestWireDiameter;
    case ResultField::DistanceOverWires: return results.distanceOverWires;
    case ResultField::NewDistance: return results.newDistance;
    case ResultField::KeyAngle: return RadiansToDegrees(results.keyAngle);
    }
    return 0.0L;
}

std::array<std::string, kResultFieldCount> FormatResultFields(const ThreadResults& results)
{
    std::array<std::string, kResultFieldCount> texts;
    for (const ResultFieldFormat& format : kResultFieldFormats) {
        const bool actualWireField =
            format.field == ResultField::ActualDistance || format.field == ResultField::ActualNewDistance;
        if (actualWireField && !results.hasActualWire)
            continue;  // stays empty
        texts[static_cast<std::size_t>(format.field)] =
            FormatNumber(ResultFieldValue(results, format.field), format.mask) + std::string(format.suffix);
    }
    return texts;
}
