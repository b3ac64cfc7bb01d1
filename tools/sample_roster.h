#pragma once

#include "roster_store.h"

// A made-up but realistic roster for newcomers, tests and benchmarks. The
// same seed always gives the same roster.
struct SampleOptions {
    int schools = 40;
    int staff = 60;
    quint32 seed = 1;
    int fiscalYear = 38;   // Heisei year number of the roster (38 = 2026)
    bool fillAllPosts = false; // every school gets seven posts (capacity tests)
};

// Fills `store` (its tables, municipality table, groups and survey date)
// with a sample year.
void generateSampleRoster(RosterStore& store, const SampleOptions& options);

// Municipality names the sample schools are spread over.
QStringList sampleMunicipalityNames(const RosterStore& store);
