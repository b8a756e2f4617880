// Registers TbsSkinForm with the stored form definition reader, with its published
// properties and defaults. Call before reading a definition that names it.
#pragma once

void RegisterSkinFormClasses();
