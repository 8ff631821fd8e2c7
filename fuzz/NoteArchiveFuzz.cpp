// The note archive writer on any note text and id: the archive it writes holds the one entry
// "ZelvoFiles", read back through the zip reader and the JSON parser as the same note. A text
// that is not UTF-8 has no JSON form: then nothing is written, and a file already at the path
// stays as it was.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzScratch.h"
#include "notes/UI/NoteExporter.h"
#include "notes/store/json/JsonCodecAdditions.h"
#include "notes/store/zip/ZipException.h"
#include "notes/store/zip/ZipFile.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UTF8.h"
#include "platform/foundation/UserDefaults.h"

namespace {

// Saving never reaches a window: only the archive is asked for.
class NoWindow : public zelvo::ExportHost {
  public:
    void editorHTML(std::function<void(std::optional<std::string>)> answer) override {
        answer(std::nullopt);
    }
    void printEditorPage(const std::string&,
                         std::function<void(bool, const std::string&)> done) override {
        done(false, "");
    }
    std::optional<zelvo::ExportPanelChoice> runSavePanel(const zelvo::ExportPanelSetup&) override {
        return std::nullopt;
    }
    bool confirmReplace(const std::string&) override { return false; }
    void runAlert(const std::string&, const std::string&) override {}
    void runPreview(const std::string&) override {}
    std::shared_ptr<NoteObject> selectedNoteObject() override { return nullptr; }
};

// A folder of the run's own; the saved path goes into the defaults, which live there too, never in
// the user's configuration.
struct Workspace {
    std::filesystem::path folder;
    Workspace() {
        folder = fuzzScratchPath("archive");
        std::filesystem::create_directories(folder / "config");
        setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        platform::Bundle::setMain("zelvo", "org.zelvo.notes");
        platform::UserDefaults::resetStandardUserDefaults();
    }
    ~Workspace() {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }
    std::string archive() const { return (folder / "note.zelvo").string(); }
};

std::string readEntry(const std::string& path) {
    notes::ZipFile zip(path, notes::ZipFile::ModeUnzip);
    FUZZ_CHECK(zip.numFilesInZip() == 1);
    FUZZ_CHECK(zip.locateFileInZip("ZelvoFiles"));
    auto stream = zip.readCurrentFileInZip();
    std::string contents;
    std::vector<uint8_t> buffer(4096);
    while (uint64_t n = stream->readDataWithBuffer(buffer))
        contents.append(reinterpret_cast<const char*>(buffer.data()), n);
    stream->finishedReading();
    zip.close();
    return contents;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static platform::LogCapture quiet;
    static Workspace workspace;
    quiet.clear();
    FuzzInput in{data, size};
    const int32_t id = static_cast<int32_t>(in.number<uint32_t>());
    const std::string text = in.bytes(size);

    const std::string path = workspace.archive();
    const std::string before = "an archive written before";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << before;

    NoWindow window;
    zelvo::NoteExporter exporter(window);
    NoteObject note;
    note.setN_id(id);
    note.setN_text(text);
    const bool written = exporter.saveNoteWithPath(path, &note);
    if (!platform::utf8::isValid(text)) {
        FUZZ_CHECK(!written);
        std::ifstream kept(path, std::ios::binary);
        FUZZ_CHECK(std::string(std::istreambuf_iterator<char>(kept), {}) == before);
        return 0;
    }
    FUZZ_CHECK(written);

    std::string json;
    try {
        json = readEntry(path);
    } catch (const notes::ZipException& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        FUZZ_CHECK(!"the archive reads back");
    }
    auto value = notes::JSONValue(json);
    FUZZ_CHECK(value && value->object());
    const notes::JsonObject& object = *value->object();
    FUZZ_CHECK(object.size() == 3);
    const notes::JsonValue* readText = object.find("n_text");
    FUZZ_CHECK(readText && readText->string() && *readText->string() == text);
    const notes::JsonValue* readID = object.find("n_id");
    FUZZ_CHECK(readID && readID->number() && readID->number()->integerValue() == id);
    FUZZ_CHECK(object.find("version") && object.find("version")->string());
    return 0;
}
