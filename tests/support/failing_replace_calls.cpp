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
        : real(std::move(real)), script(script) {}

    std::error_code Inspect(EntryInfo& info) override { return real->Inspect(info); }
    std::error_code WriteSomeAt(std::uint64_t offset, const unsigned char* data, std::size_t length,
                                std::size_t& written) override {
        if (const std::error_code error = Scripted(script, "Write")) {
            // Half of it, as a disk that fills up would.
            real->WriteSomeAt(offset, data, length / 2, written);
            return error;
        }
        return real->WriteSomeAt(offset, data, Piece(length), written);
    }
    std::error_code ReadSomeAt(std::uint64_t offset, unsigned char* data, std::size_t length,
                               std::size_t& got) override {
        return real->ReadSomeAt(offset, data, Piece(length), got);
    }
    std::error_code SetMode(std::uint32_t mode) override {
        const std::error_code error = Scripted(script, "SetMode");
        return error ? error : real->SetMode(mode);
    }
    std::error_code SetOwner(std::uint32_t owner, std::uint32_t group) override {
        const std::error_code error = Scripted(script, "SetOwner");
        return error ? error : real->SetOwner(owner, group);
    }
    std::error_code Truncate(std::uint64_t length) override {
        const std::error_code error = Scripted(script, "Truncate");
        return error ? error : real->Truncate(length);
    }
    std::error_code Flush() override {
        const std::error_code error = Scripted(script, "Flush");
        return error ? error : real->Flush();
    }
    std::error_code Close() override {
        const std::error_code error = Scripted(script, "Close");
        const std::error_code closed = real->Close();
        return error ? error : closed;
    }

  private:
    std::size_t Piece(std::size_t length) const {
        return script.mostBytesPerCall != 0 && length > script.mostBytesPerCall
                   ? script.mostBytesPerCall
                   : length;
    }

    std::unique_ptr<ReplaceFile> real;
    ReplaceScript& script;
};

class FailingFolder : public ReplaceFolder {
  public:
    FailingFolder(std::unique_ptr<ReplaceFolder> real, ReplaceScript& script)
        : real(std::move(real)), script(script) {}

    std::error_code Inspect(const std::string& name, EntryInfo& info) override {
        return real->Inspect(name, info);
    }
    std::error_code CreateExclusive(const std::string& name,
                                    std::unique_ptr<ReplaceFile>& file) override {
        if (!IsTemporary(name)) {
            Placing();
        }
        return Wrap(IsTemporary(name) ? "CreateTemporary" : "CreatePlaceholder", file,
                    [&] { return real->CreateExclusive(name, file); });
    }
    std::error_code OpenExisting(const std::string& name, OpenAccess access,
                                 std::unique_ptr<ReplaceFile>& file) override {
        return Wrap(access == OpenAccess::Write ? "OpenForWriting" : "OpenForUpdate", file,
                    [&] { return real->OpenExisting(name, access, file); });
    }
    std::error_code RenameNoReplace(const std::string& from, const std::string& to) override {
        Placing();
        const std::error_code error = Scripted(script, "RenameNoReplace");
        return error ? error : real->RenameNoReplace(from, to);
    }
    std::error_code Link(const std::string& from, const std::string& to) override {
        Placing();
        const std::error_code error = Scripted(script, "Link");
        return error ? error : real->Link(from, to);
    }
    std::error_code Exchange(const std::string& from, const std::string& to) override {
        Placing();
        const std::error_code error = Scripted(script, "Exchange");
        return error ? error : real->Exchange(from, to);
    }
    std::error_code Rename(const std::string& from, const std::string& to) override {
        Placing();
        const std::error_code error = Scripted(script, "Rename");
        return error ? error : real->Rename(from, to);
    }
    std::error_code Remove(const std::string& name) override {
        const std::error_code error = Scripted(script, "Remove");
        return error ? error : real->Remove(name);
    }
    void RecordTemporary(const std::string& name) override { real->RecordTemporary(name); }
    void ForgetTemporary() override { real->ForgetTemporary(); }

  private:
    void Placing() {
        if (!script.beforePlacing.empty()) {
            const auto run = std::move(script.beforePlacing.front());
            script.beforePlacing.erase(script.beforePlacing.begin());
            run();
        }
    }

    template <typename Open>
    std::error_code Wrap(const std::string& call, std::unique_ptr<ReplaceFile>& file, Open open) {
        if (const std::error_code error = Scripted(script, call)) {
            return error;
        }
        const std::error_code error = open();
        if (!error) {
            file = std::make_unique<FailingFile>(std::move(file), script);
        }
        return error;
    }

    std::unique_ptr<ReplaceFolder> real;
    ReplaceScript& script;
};

class FailingSystem : public platform::ReplaceSystem {
  public:
    explicit FailingSystem(ReplaceScript& script)
        : real(platform::SystemReplaceCalls()), script(script) {}

    std::error_code Resolve(const std::string& path, std::string& folder, std::string& name,
                            bool& viaLink) override {
        const std::error_code error = Scripted(script, "Resolve");
        return error ? error : real->Resolve(path, folder, name, viaLink);
    }
    std::error_code OpenFolder(const std::string& folder,
                               std::unique_ptr<ReplaceFolder>& opened) override {
        if (const std::error_code error = Scripted(script, "OpenFolder")) {
            return error;
        }
        std::unique_ptr<ReplaceFolder> inner;
        const std::error_code error = real->OpenFolder(folder, inner);
        if (!error) {
            opened = std::make_unique<FailingFolder>(std::move(inner), script);
        }
        return error;
    }
    std::string NewTemporaryName(unsigned attempt) override {
        return real->NewTemporaryName(attempt);
    }
    void HoldInterruptions() override { real->HoldInterruptions(); }
    void ReleaseInterruptions() override { real->ReleaseInterruptions(); }
    std::error_code FlushFolder(const std::string& folder) override {
        const std::error_code error = Scripted(script, "FlushFolder");
        return error ? error : real->FlushFolder(folder);
    }

  private:
    std::unique_ptr<platform::ReplaceSystem> real;
    ReplaceScript& script;
};

}  // namespace

std::unique_ptr<platform::ReplaceSystem> FailingReplaceCalls(ReplaceScript& script) {
    return std::make_unique<FailingSystem>(script);
}

}  // namespace velmora::testing
