// The two skins built into skinview: the product's own skin folders (skins/slate and
// skins/daylight), packed by `skintool pack` at build time and carried as resources.
#pragma once
#include <QString>
#include <memory>

class TSkinSource;

constexpr int kBuiltInSkinCount = 2;
// The menu caption of built-in skin `index` ("Ledgerly &Slate").
QString BuiltInSkinCaption(int index);
// Built-in skin `index`, read and checked as any packed skin is.
std::unique_ptr<TSkinSource> BuiltInSkin(int index);
