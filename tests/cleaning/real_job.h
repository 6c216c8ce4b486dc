#pragma once
// A job of the real cleaners over the current CleanSelection, decided and counted as the progress dialog
// does before its Clean button can be pressed.
#include "cleaning/cleaning_job.h"
#include "cleaning/real_cleaners.h"

#include <string>

class NoPage : public JobHost {
public:
    void DisableCleanButton() override {}
    void ShowProgress(const std::wstring&, int) override {}
};

struct RealJob {
    RealJob() {
        totalSteps = 0;
        doneSteps = 0;
        job.DecideGroups();
        job.CountSteps();
        job.jobResult = 0; // as the dialog does once it shows the list
    }
    RealCleaners cleaners;
    NoPage page;
    CleaningJob job{cleaners, page};
};
