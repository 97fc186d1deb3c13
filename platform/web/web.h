// Shared by the web platform's units.
#pragma once

// The pacer slept: the next present belongs to a paced frame and need not yield by itself.
void web_paced_sleep();
