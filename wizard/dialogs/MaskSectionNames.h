// Section and key names of the description masks of a kind letter.
#pragma once

void GetMaskSection(char letter, char* out);
void GetDescSection(char letter, char* out);
void GetMaskKey(char letter, char* out);
