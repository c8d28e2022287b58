#include "save_plan.h"

SavePlan PlanSave(const HeldData& held, const std::optional<QByteArray>& onDisk,
                  const Entries& entries, const QByteArray& newBytes)
{
    using Kind = SavePlan::Kind;
    const bool changed = entries != held.entries;
    const bool othersVersion = onDisk && *onDisk != held.bytes && *onDisk != newBytes;
    // A moved window is not worth replacing another program's version for.
    if (othersVersion && !changed)
        return {held.ownSave ? Kind::KeepOwnVersion : Kind::LeaveAlone};
    // A data file that has gone missing has nothing to back up; the entries are still saved.
    return {othersVersion ? Kind::KeepOthersFirst : Kind::Write, onDisk && changed,
            onDisk != newBytes};
}
