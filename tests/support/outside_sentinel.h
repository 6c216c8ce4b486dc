#pragma once
// A folder outside the Wine prefix holding one sentinel file, reached from inside through planted
// directory links. A cleaner that follows a link would delete the sentinel.
#include <string>
#include <vector>

namespace testing_support {

class OutsideSentinel {
public:
    OutsideSentinel();
    ~OutsideSentinel();
    OutsideSentinel(const OutsideSentinel&) = delete;
    OutsideSentinel& operator=(const OutsideSentinel&) = delete;

    // Plants a directory link at `linkPath` (its parent must exist) pointing at the outside folder.
    bool PlantLinkAt(const std::wstring& linkPath);
    // The sentinel file and the outside folder are exactly as created.
    bool Intact() const;
    const std::wstring& Folder() const { return folder_; }

private:
    std::wstring folder_;
    std::vector<std::wstring> links_;
};

} // namespace testing_support
