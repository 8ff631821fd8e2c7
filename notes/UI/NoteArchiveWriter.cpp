// The note archive writer of NoteExporter: a zip with the note as JSON.
#include <cerrno>
#include <exception>

#include "notes/UI/NoteExporter.h"
#include "notes/store/json/JsonCodecAdditions.h"
#include "notes/store/json/JsonValue.h"
#include "notes/store/zip/ZipException.h"
#include "notes/store/zip/ZipFile.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"

namespace zelvo {

bool NoteExporter::saveNoteWithPath(const std::optional<std::string>& path,
                                    const NoteObject* note) {
    if (m_saving) return false;
    m_saving = true;
    bool written = false;
    if (path && note) {
        platform::log("saving as zelvo...");
        notes::JsonObject content;
        content.reserve(10);
        content.set("n_text", note->n_text().value_or(""));
        content.set("n_id", static_cast<int64_t>(note->n_id()));
        content.set("version",
                    platform::Bundle::mainBundle().infoValue("CFBundleVersion").value_or(""));
        std::optional<std::string> json = notes::JSONRepresentation(notes::JsonValue(content));
        // Only the zip is written, to a temporary file renamed into place: a failure leaves
        // whatever was at the path before, never half an archive.
        written =
            json && platform::replaceFileAtomically(*path, [&](const auto& temporary) {
                try {
                    notes::ZipFile zip(temporary.string(), notes::ZipFile::ModeCreate);
                    auto entry = zip.writeFileInZipWithName(
                        "ZelvoFiles", platform::Date::now().dateByAddingTimeInterval(-86400), 1);
                    entry->writeData(
                        std::span(reinterpret_cast<const uint8_t*>(json->data()), json->size()));
                    entry->finishedWriting();
                    zip.close();
                    return true;
                } catch (const std::exception& failure) {
                    platform::logf("%s: %s", __func__, failure.what());
                    errno = EIO;
                    return false;
                }
            });
        if (written) {
            platform::UserDefaults& defaults = platform::UserDefaults::standardUserDefaults();
            defaults.setObject(platform::Value(*path), NOTE_LASTSAVED_PATH_KEY);
            defaults.synchronize();
            platform::log("auto save finished...");
        } else {
            platform::log("auto save failed...");
        }
    }
    m_saving = false;
    return written;
}

}  // namespace zelvo
