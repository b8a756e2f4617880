// Registers the skin data components with the form-definition reader and writer:
//   TbsStoredSkin            FileName, IniStrings, Pictures (byte block, always written)
//   TbsCompressedStoredSkin  FileName, CompressedData (byte block, always written)
//   TbsSkinData              StoredSkin, CompressedStoredSkin (references, in this order)
// Call once before reading a definition that holds them.
#pragma once

void RegisterSkinDataClasses();
