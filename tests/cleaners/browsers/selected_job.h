#pragma once
// A job of the real cleaners over the given items alone, its groups decided as the progress dialog does; the
// selection in force before comes back when it goes.
#include "cleaning/cleaning_job.h"
#include "cleaning/real_cleaners.h"
#include "settings/clean_selection.h"

#include <initializer_list>
#include <string>

class SelectedJob {
public:
    explicit SelectedJob(std::initializer_list<int32_t SelectionRecord::*> items) : saved_(CleanSelection) {
        CleanSelection = {};
        for (int32_t SelectionRecord::*item : items) CleanSelection.*item = 1;
        job.DecideGroups();
    }
    ~SelectedJob() { CleanSelection = saved_; }
    SelectedJob(const SelectedJob&) = delete;
    SelectedJob& operator=(const SelectedJob&) = delete;

private:
    class NoPage : public JobHost {
        void DisableCleanButton() override {}
        void ShowProgress(const std::wstring&, int) override {}
    };
    SelectionRecord saved_;
    RealCleaners cleaners_;
    NoPage page_;

public:
    CleaningJob job{cleaners_, page_};
};
