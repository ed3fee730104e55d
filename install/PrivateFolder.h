#pragma once
#include <memory>
#include <string>

// A folder made afresh for one run's copy of a program that is about to run, so that nobody
// who cannot write there could have put or changed what runs. It has an unpredictable name
// and is removed, with what was put into it, when the object goes.
class PrivateFolder {
public:
    // Elevated: a new folder under "<32-bit Program Files>\RavellSoft\Temp", protected (see
    // CreateProtectedFolder). Otherwise a new folder in the user's temporary folder, which
    // only that user can write anyway. Null when no new folder could be made.
    static std::unique_ptr<PrivateFolder> Create(bool elevated);
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::wstring& Path() const { return m_path; }

private:
    explicit PrivateFolder(std::wstring path) : m_path(std::move(path)) {}
    std::wstring m_path;
};

// Creates exactly this folder with an explicit, protected access list: SYSTEM and the
// Administrators have full control, Users may read and execute, nothing is inherited from
// the parent. False when the name exists already (a folder, a file, a junction: nothing is
// reused or followed) or the folder cannot be made.
bool CreateProtectedFolder(const std::wstring& path);
// That access list, in the system's descriptor language.
extern const wchar_t kProtectedFolderAccess[];

// Copies source to target, which must not exist yet, and checks that the copy has the
// source's size and MD5. A failed or differing copy is deleted.
bool CopyVerified(const std::wstring& source, const std::wstring& target);
