#pragma once

#include "core/build_stamp.h"
#include "data/data_module.h"

namespace sdelka {

enum class VersionOutcome {
    Current,       // this build's stamp is the one stored
    Stamped,       // this build is newer than any that ran: its stamp was written
    NewerBuildRan, // a newer build has run on the database: this one must end
};

// Reads the version table, copies its decimal separator into the data module and compares the
// stored stamp with this build's. The stamp is written only while it is still older, so two
// builds starting at once settle on the newer one.
VersionOutcome checkVersion(TDataModule6& dm, BuildStamp build);

} // namespace sdelka
