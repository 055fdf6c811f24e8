// Writing the host model as JSON and as a short human summary.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "MIDAStranslatetoOrvo.h"

// The outcome of one translation as the tool reports it.
struct TranslationOutcome {
    bool read = false;
    bool ok = false;
    std::vector<std::string> messages;
};

class JsonWriter;

// How names reach the output, and what goes after the model.
struct DumpOptions {
    // Turns a name of the file (group and section names) into the bytes to write; unchanged by default.
    std::function<std::string(std::string_view)> name = [](std::string_view text) { return std::string(text); };
    // Writes the value of a "report" member after "model", when set.
    std::function<void(JsonWriter&)> report;
};

// {"read": ..., "ok": ..., "messages": [...], "model": {...}} with the collections in a fixed order.
std::string ModelToJson(const TranslationOutcome& outcome, const ModalData_Orvo& model,
                        const DumpOptions& options = DumpOptions());

// Counts per collection, loads per load case, and the messages. A refused translation is headed with
// its cause (refusal) instead of the units.
std::string ModelSummary(const std::string& path, const TranslationOutcome& outcome, const ModalData_Orvo& model,
                         const std::string& refusal = {});
