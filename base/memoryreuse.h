// Pictures are made and dropped by the thousand on worker threads. glibc
// hands the free top of a thread's heap back to the system as soon as it
// passes 128 KiB, so the next picture faults every page in again and the
// kernel clears it: a quarter of the time of `varno thumbnail -d`. Called
// once at start, this lets each heap keep up to 8 MiB free for the next
// one, and serves blocks of up to 4 MiB from it.
#pragma once

namespace varno {

void keepFreedMemoryForReuse();

}  // namespace varno
