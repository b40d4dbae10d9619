// Announcing the database files to the file-structure upgrade pack, once per process at start-up.
#pragma once

void RegisterFilesWithUpgradePack();
