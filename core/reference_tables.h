#pragma once

#include "roster_store.h"
#include "user_notifier.h"

// The built-in generation of the municipality table a year uses.
enum class PlaceGeneration { A, B, C };
PlaceGeneration generationFor(int nn);

// The year's municipality-table file when it reads well, else the built-in
// generation for `nn`; then the association's position.
void buildMunicipalityTable(RosterStore& store, int nn);
void fillBuiltInGeneration(RosterStore& store, int nn);

// Carries the schools of the previous year into the municipalities formed by
// the mergers.
void applyMergerMap(RosterStore& store);

// The 市町村名変更 command: renames a municipality after an absorption merger,
// or folds it into the one that absorbed it. Returns false, having changed
// nothing, when either name is empty (the user is told).
bool renameMunicipality(RosterStore& store, const QString& oldName, const QString& newName, UserNotifier& notifier);
