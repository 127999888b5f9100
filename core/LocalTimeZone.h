#pragma once

namespace tz4 {

// Makes the C library read the local time zone once for the whole run. Without TZ set, glibc
// looks at /etc/localtime again for every local date it converts, which dominates listings
// of thousands of records. The zone itself stays the system's.
void readLocalTimeZoneOnce();

} // namespace tz4
