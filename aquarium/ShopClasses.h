#pragma once
// Registers the shop's controls and definitions: money displays, meters, purchase hints, shop
// entries, equipment base, catalogue and tutorial guard. Called from RegisterAquariumClasses.

void RegisterAquariumShopClasses();
