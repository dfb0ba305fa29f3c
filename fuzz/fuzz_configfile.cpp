// The configuration file loader: any bytes, for either kind. A file that
// loads saves back to a file that loads to the same configuration, and the
// configuration reads back from its own write-all values unchanged.
//
// Input: one byte for the kind ('E' Ethernet, 'G' 4G), then the file.

#include "fuzzcore.h"

#include "configfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const bool gsm = fuzz::pick(char(data[0]), "EG") == 1;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), int(size - 1));
    const ConfigFile::Loaded loaded = ConfigFile::fromJson(bytes, "f.json", gsm);
    fuzz::require(loaded.ok != loaded.error.startsWith("f.json: ") && !loaded.error.contains('\n'),
        "a refusal that does not name the file in one line", bytes);
    if (!loaded.ok)
        return 0;
    const ModemConfig& config = loaded.config;
    const ConfigFile::Loaded again = ConfigFile::fromJson(ConfigFile::toJson(config), "f.json", gsm);
    fuzz::require(again.ok && again.config == config && ConfigFile::differences(config, again.config).isEmpty(),
        "a loaded file does not save back to itself", bytes);
    QList<QByteArray> values;
    for (const QString& v : config.writeAllValues())
        values << v.toUtf8();
    fuzz::require(ModemConfig::fromValues(gsm, values) == config, "what loads is not what a read gets back", bytes);
    return 0;
}
