#pragma once
// Waits on the user-interface thread without freezing the windows: pending
// events are processed and the thread sleeps 1 ms per pass until the time
// has passed. Every wait of the program goes through here.

void WaitPumping(int milliseconds);
