#pragma once

#include "print_framework.h"

// The survey form (調査用紙): one A4 page a school, showing what the roster
// holds about it and its clerks, for the school to correct by hand.
namespace survey_form {

inline constexpr PrintJobCode kMarkedFormsJob = PrintJobCode::SurveyForms;

void drawForm(PrintDevice& d);
void drawNotes(PrintDevice& d);
void fillForm(PrintDevice& d, const RosterStore& store, int school);

// The empty form, with no instruction lines.
void printBlankForm(PrintJobContext& c);
// Job 16: a filled form for every marked school, in table order.
void printMarkedForms(PrintJobContext& c);
void registerSurveyJob();

} // namespace survey_form
