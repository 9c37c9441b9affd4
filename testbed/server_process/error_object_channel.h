// Error objects carried across processes with the reply of each call.
//
// A server that reports its errors directly (Invoke returns the HRESULT and
// the description waits in the thread's error object, SetErrorInfo) relies
// on COM to bring that error object to the client's thread with the reply:
// Windows' COM does so on its own; Wine's does not. Registered in both the
// server and the client, this channel hook does it in its place: the server
// puts the description and source of the error object its call left into
// the reply, and the client makes them the thread's error object again,
// where the client reads it as it would on Windows. A reply without that
// extension (any other server) leaves the client's error object alone.
#pragma once

namespace tav::serverprocess {

// Registers the hook for this process. Raises std::runtime_error when COM
// refuses it. Call once, in an apartment.
void carryErrorObjectsAcrossProcesses();

}  // namespace tav::serverprocess
