Demo-Modell (Platzhalter): Prellbock, Original der Installation
