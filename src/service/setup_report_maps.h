#pragma once
// The set-up report's map parts: the main map in its grid's colours, the correction and cruise
// maps of one row each, the emulator tables. Each appends its heading and tables to `html`.
// Internal to the report (service/setup_report.cpp).
#include <string>

#include "service/setup_description.h"
#include "service/setup_report_html.h"

namespace kaldor::setup_report {

void mainMapPart(std::string& html, const SetupDescription& description, const Captions& c);
void correctionMapsPart(std::string& html, const SetupDescription& description,
                        const SetupTexts& texts, const Captions& c);
void cruiseMapPart(std::string& html, const SetupDescription& description, const Captions& c);
void emulatorTablesPart(std::string& html, const SetupDescription& description, const Captions& c);

}  // namespace kaldor::setup_report
