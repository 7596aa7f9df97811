#pragma once
// Registers the framework's own classes with the class registry (idempotent).
void RegisterFrameworkClasses();
