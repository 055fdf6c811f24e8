// Writing the host model as JSON and as a short human summary.
#pragma once

#include <string>
#include <vector>

#include "MIDAStranslatetoOrvo.h"

// The outcome of one translation as the tool reports it.
struct TranslationOutcome {
    bool read = false;
    bool ok = false;
    std::vector<std::string> messages;
};

// {"read": ..., "ok": ..., "messages": [...], "model": {...}} with the collections in a fixed order.
std::string ModelToJson(const TranslationOutcome& outcome, const ModalData_Orvo& model);

// Counts per collection, loads per load case, and the messages.
std::string ModelSummary(const std::string& path, const TranslationOutcome& outcome, const ModalData_Orvo& model);
