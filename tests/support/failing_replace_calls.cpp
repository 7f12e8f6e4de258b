#include "tests/support/failing_replace_calls.h"

namespace velmora::testing {
namespace {

using platform::EntryInfo;
using platform::OpenAccess;
using platform::ReplaceFile;
using platform::ReplaceFolder;

// Writes the call down; an error when the script makes it fail.
std::error_code Scripted(ReplaceScript& script, const std::string& call) {
    script.calls.push_back(call);
    if (const auto once = script.failures.find(call + "#1"); once != script.failures.end()) {
        const std::error_code error = once->second;
        script.failures.erase(once);
        return error;
    }
    const auto always = script.failures.find(call);
    return always == script.failures.end() ? std::error_code() : always->second;
}

bool IsTemporary(const std::string& name) {
    return name.rfind(".velmora-", 0) == 0;
}

class FailingFile : public ReplaceFile {
  public:
    FailingFile(std::unique_ptr<ReplaceFile> real, ReplaceScript& script)
        : real_(std::move(real)), script_(script) {}

    std::error_code Inspect(EntryInfo& info) override { return real_->Inspect(info); }
    std::error_code WriteAt(std::uint64_t offset, const unsigned char* data,
                            std::size_t length) override {
        if (const std::error_code error = Scripted(script_, "Write")) {
            // Half of it, as a disk that fills up would.
            real_->WriteAt(offset, data, length / 2);
            return error;
        }
        return real_->WriteAt(offset, data, length);
    }
    std::error_code ReadAll(std::vector<unsigned char>& bytes, std::size_t limit) override {
        return real_->ReadAll(bytes, limit);
    }
    std::error_code SetMode(std::uint32_t mode) override {
        const std::error_code error = Scripted(script_, "SetMode");
        return error ? error : real_->SetMode(mode);
    }
    std::error_code SetOwner(std::uint32_t owner, std::uint32_t group) override {
        const std::error_code error = Scripted(script_, "SetOwner");
        return error ? error : real_->SetOwner(owner, group);
    }
    std::error_code Truncate(std::uint64_t length) override {
        const std::error_code error = Scripted(script_, "Truncate");
        return error ? error : real_->Truncate(length);
    }
    std::error_code Flush() override {
        const std::error_code error = Scripted(script_, "Flush");
        return error ? error : real_->Flush();
    }
    std::error_code Close() override {
        const std::error_code error = Scripted(script_, "Close");
        const std::error_code closed = real_->Close();
        return error ? error : closed;
    }

  private:
    std::unique_ptr<ReplaceFile> real_;
    ReplaceScript& script_;
};

class FailingFolder : public ReplaceFolder {
  public:
    FailingFolder(std::unique_ptr<ReplaceFolder> real, ReplaceScript& script)
        : real_(std::move(real)), script_(script) {}

    std::error_code Inspect(const std::string& name, EntryInfo& info) override {
        return real_->Inspect(name, info);
    }
    std::error_code CreateExclusive(const std::string& name,
                                    std::unique_ptr<ReplaceFile>& file) override {
        if (!IsTemporary(name)) {
            Placing();
        }
        return Wrap(IsTemporary(name) ? "CreateTemporary" : "CreatePlaceholder", file,
                    [&] { return real_->CreateExclusive(name, file); });
    }
    std::error_code OpenExisting(const std::string& name, OpenAccess access,
                                 std::unique_ptr<ReplaceFile>& file) override {
        return Wrap(access == OpenAccess::Write ? "OpenForWriting" : "OpenForUpdate", file,
                    [&] { return real_->OpenExisting(name, access, file); });
    }
    std::error_code RenameNoReplace(const std::string& from, const std::string& to) override {
        Placing();
        const std::error_code error = Scripted(script_, "RenameNoReplace");
        return error ? error : real_->RenameNoReplace(from, to);
    }
    std::error_code Link(const std::string& from, const std::string& to) override {
        Placing();
        const std::error_code error = Scripted(script_, "Link");
        return error ? error : real_->Link(from, to);
    }
    std::error_code Exchange(const std::string& from, const std::string& to) override {
        Placing();
        const std::error_code error = Scripted(script_, "Exchange");
        return error ? error : real_->Exchange(from, to);
    }
    std::error_code Rename(const std::string& from, const std::string& to) override {
        Placing();
        const std::error_code error = Scripted(script_, "Rename");
        return error ? error : real_->Rename(from, to);
    }
    std::error_code Remove(const std::string& name) override {
        const std::error_code error = Scripted(script_, "Remove");
        return error ? error : real_->Remove(name);
    }
    void RecordTemporary(const std::string& name) override { real_->RecordTemporary(name); }
    void ForgetTemporary() override { real_->ForgetTemporary(); }

  private:
    void Placing() {
        if (!script_.beforePlacing.empty()) {
            const auto run = std::move(script_.beforePlacing.front());
            script_.beforePlacing.erase(script_.beforePlacing.begin());
            run();
        }
    }

    template <typename Open>
    std::error_code Wrap(const std::string& call, std::unique_ptr<ReplaceFile>& file, Open open) {
        if (const std::error_code error = Scripted(script_, call)) {
            return error;
        }
        const std::error_code error = open();
        if (!error) {
            file = std::make_unique<FailingFile>(std::move(file), script_);
        }
        return error;
    }

    std::unique_ptr<ReplaceFolder> real_;
    ReplaceScript& script_;
};

class FailingSystem : public platform::ReplaceSystem {
  public:
    explicit FailingSystem(ReplaceScript& script)
        : real_(platform::SystemReplaceCalls()), script_(script) {}

    std::error_code Resolve(const std::string& path, std::string& folder, std::string& name,
                            bool& viaLink) override {
        const std::error_code error = Scripted(script_, "Resolve");
        return error ? error : real_->Resolve(path, folder, name, viaLink);
    }
    std::error_code OpenFolder(const std::string& folder,
                               std::unique_ptr<ReplaceFolder>& opened) override {
        if (const std::error_code error = Scripted(script_, "OpenFolder")) {
            return error;
        }
        std::unique_ptr<ReplaceFolder> real;
        const std::error_code error = real_->OpenFolder(folder, real);
        if (!error) {
            opened = std::make_unique<FailingFolder>(std::move(real), script_);
        }
        return error;
    }
    std::string NewTemporaryName(unsigned attempt) override {
        return real_->NewTemporaryName(attempt);
    }
    void HoldInterruptions() override { real_->HoldInterruptions(); }
    void ReleaseInterruptions() override { real_->ReleaseInterruptions(); }
    std::error_code FlushFolder(const std::string& folder) override {
        const std::error_code error = Scripted(script_, "FlushFolder");
        return error ? error : real_->FlushFolder(folder);
    }

  private:
    std::unique_ptr<platform::ReplaceSystem> real_;
    ReplaceScript& script_;
};

}  // namespace

std::unique_ptr<platform::ReplaceSystem> FailingReplaceCalls(ReplaceScript& script) {
    return std::make_unique<FailingSystem>(script);
}

}  // namespace velmora::testing
