Demo-Modell (Platzhalter): Leitpfosten, Original der Installation
